#include "ParseCorpus.h"

#include <algorithm>
#include <random>
#include <string>

#include "midi/SmfWriter.h"

namespace vantrel::bench {
namespace {

void FillTrack(SmfTrack& track, std::mt19937& random, int channel, std::size_t bytes) {
    track.Text(0, 3, "Part " + std::to_string(channel));
    std::uniform_int_distribution<int> key(36, 84);
    std::uniform_int_distribution<int> gap(0, 96);
    std::uint32_t tick = 0;
    // About eight bytes a note (two events, half of them in running status).
    for (std::size_t written = 0; written < bytes; written += 8) {
        tick += static_cast<std::uint32_t>(gap(random));
        const auto note = static_cast<std::uint8_t>(key(random));
        if (random() % 16 == 0)
            track.Channel(tick, 0xB0, static_cast<std::uint8_t>(channel), 7, 100);
        if (random() % 32 == 0)
            track.Channel(tick, 0xE0, static_cast<std::uint8_t>(channel), 0, 64);
        if (random() % 2 == 0) {
            track.Note(tick, static_cast<std::uint8_t>(channel), note, 100, 48);
        } else {
            track.Channel(tick, 0x90, static_cast<std::uint8_t>(channel), note, 100);
            track.Raw(tick + 48, {note, 0});  // note on, velocity 0, in running status
        }
    }
    track.EndOfTrack(tick + 96);
}

}  // namespace

void WriteParseCorpus(const std::filesystem::path& folder, int count, int sizeKiB) {
    std::filesystem::create_directories(folder);
    std::mt19937 random(1207);
    for (int i = 0; i < count; ++i) {
        SmfWriter writer(1, 192);
        writer.AddTrack()
            .Text(0, 3, "Song " + std::to_string(i))
            .Tempo(0, 500000)
            .TimeSignature(0, 4, 2)
            .EndOfTrack(0);
        for (int channel = 9; channel <= 16; ++channel) {
            FillTrack(writer.AddTrack(), random, channel,
                      static_cast<std::size_t>(sizeKiB) * 1024 / 8);
        }
        char name[32];
        std::snprintf(name, sizeof name, "song%05d.mid", i);
        writer.Save(folder / name);
    }
}

std::vector<std::filesystem::path> MidiFilesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".mid")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace vantrel::bench
