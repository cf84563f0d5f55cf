// Prints what CMidiReader and the song-name scan make of each file named on the command line,
// one line per fact, for comparison with an independent parser:
//   F <path>
//   H <header code> <tracks ok> <format> <track count> <division> <song name hex or ->
//   E <track> <time> <status hex> <data hex>      every event of every track, in file order
//   M <track> <index>                             the merged order
#include <cstdio>
#include <string>

#include "common/FileOpenError.h"
#include "midi/CMidiReader.h"
#include "midi/SongName.h"

namespace {

void PrintHex(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes)
        std::printf("%02x", byte);
}

void Dump(const char* path) {
    std::printf("F %s\n", path);
    vantrel::CMidiReader reader;
    reader.SetPath(path);
    try {
        reader.LoadFile();
    } catch (const vantrel::FileOpenError&) {
        std::printf("H open-failed\n");
        return;
    }
    const int code = reader.ParseHeader();
    const bool tracksOk = reader.ParseTracks();
    reader.MergeTracks();
    std::printf("H %d %d %u %u %u ", code, tracksOk ? 1 : 0, reader.Format(), reader.TrackCount(),
                reader.Division());
    const auto songName = vantrel::ReadSongName(path);
    if (songName) {
        std::printf("=");
        PrintHex({reinterpret_cast<const std::uint8_t*>(songName->data()), songName->size()});
    } else {
        std::printf("-");
    }
    std::printf("\n");
    for (std::uint32_t track = 0; track < reader.TrackCount(); ++track) {
        for (const vantrel::MidiEvent& event : reader.TrackEvents(track)) {
            std::printf("E %u %u %02x ", track, event.time, event.status);
            PrintHex(event.Data());
            std::printf("\n");
        }
    }
    const auto merged = reader.MergedEvents();
    for (auto it = merged.begin(); it != merged.end(); ++it)
        std::printf("M %u %zu\n", it.Track(), it.IndexInTrack());
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        Dump(argv[i]);
    return 0;
}
