#include "GrooveReading.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "midi/CMidiReader.h"

namespace vantrel::music::test {

std::vector<TimedNote> Song::Sounding(std::uint32_t index) const {
    const MeasureSpan span = Measure(index);
    std::vector<TimedNote> sounding;
    for (const SongNote& entry : notes) {
        const TimedNote& note = entry.note;
        if (note.role != ChannelRole::Drums && note.start < span.start + span.length &&
            note.start + note.length > span.start) {
            sounding.push_back(note);
        }
    }
    return sounding;
}

std::vector<SongNote> Song::Starting(std::uint32_t index) const {
    const MeasureSpan span = Measure(index);
    std::vector<SongNote> starting;
    for (const SongNote& entry : notes) {
        if (entry.note.role != ChannelRole::Drums && entry.note.start >= span.start &&
            entry.note.start < span.start + span.length) {
            starting.push_back(entry);
        }
    }
    return starting;
}

std::optional<Song> ReadSong(const std::filesystem::path& file, Channels channels) {
    CMidiReader reader;
    reader.SetPath(file);
    if (!reader.LoadFile() || reader.ParseHeader() != kHeaderOk || !reader.ParseTracks())
        return std::nullopt;
    Song song;
    const std::uint32_t division = reader.Division();
    std::uint32_t numerator = 4;
    std::uint32_t denominator = 4;
    bool timeSignatureSeen = false;
    std::map<int, std::string> trackNameOfChannel;
    std::uint32_t end = 0;
    for (std::uint32_t track = 0; track < reader.TrackCount(); ++track) {
        std::string trackName;
        // Per channel and key, the starts of the notes still sounding.
        std::map<std::pair<int, int>, std::vector<std::uint32_t>> open;
        for (const MidiEvent& event : reader.TrackEvents(track)) {
            end = std::max(end, event.time);
            if (event.MetaType() == 0x03) {
                const auto payload = event.MetaPayload();
                trackName.assign(payload.begin(), payload.end());
            } else if (event.MetaType() == 0x58 && !timeSignatureSeen &&
                       event.MetaPayload().size() >= 2) {
                numerator = event.MetaPayload()[0];
                denominator = 1u << std::min<unsigned>(event.MetaPayload()[1], 6);
                timeSignatureSeen = true;
            }
            const int kind = event.status & 0xF0;
            if ((kind != 0x80 && kind != 0x90) || event.length < 2)
                continue;
            const int channel = (event.status & 0x0F) + 1;
            const int key = event.Data()[0];
            auto& starts = open[{channel, key}];
            if (kind == 0x90 && event.Data()[1] > 0) {
                starts.push_back(event.time);
                trackNameOfChannel.emplace(channel, trackName);
            } else if (!starts.empty()) {
                const std::uint32_t start = starts.front();
                starts.erase(starts.begin());
                song.notes.push_back(
                    {{key, start, event.time - start, RoleOfChannel(channel)}, channel});
            }
        }
    }
    if (numerator == 0 || division == 0 || (division & 0x8000) != 0)
        return std::nullopt;
    std::sort(song.notes.begin(), song.notes.end(),
              [](const SongNote& a, const SongNote& b) { return a.note.start < b.note.start; });
    song.beatLength = division * 4 / denominator;
    song.measureLength = song.beatLength * numerator;
    song.measures = (end + song.measureLength - 1) / song.measureLength;

    if (channels == Channels::Pattern)
        return song;
    // The bass: named so by its track, or else the lowest voice.
    std::optional<int> bass;
    std::map<int, std::pair<double, int>> pitchSums;
    for (const auto& [channel, name] : trackNameOfChannel) {
        if (channel != 10 && (name.starts_with("Bass") || name.starts_with("Walk")))
            bass = channel;
    }
    for (const SongNote& entry : song.notes) {
        auto& [sum, count] = pitchSums[entry.channel];
        sum += entry.note.key;
        ++count;
    }
    if (!bass) {
        double lowest = 128.0;
        for (const auto& [channel, sumAndCount] : pitchSums) {
            const double mean = sumAndCount.first / sumAndCount.second;
            if (channel != 10 && mean < lowest) {
                lowest = mean;
                bass = channel;
            }
        }
    }
    for (SongNote& entry : song.notes) {
        entry.note.role = entry.channel == 10     ? ChannelRole::Drums
                          : entry.channel == bass ? ChannelRole::Bass
                                                  : ChannelRole::ChordPart;
    }
    return song;
}

bool MmaInstalled() {
    return std::system("command -v mma >/dev/null 2>&1") == 0;
}

std::optional<std::filesystem::path> RunMma(const std::filesystem::path& folder,
                                            const std::string& name, const std::string& text,
                                            std::string& log) {
    const std::filesystem::path source = folder / (name + ".mma");
    const std::filesystem::path output = folder / (name + ".log");
    std::ofstream(source) << text;
    const std::string command = "cd '" + folder.string() + "' && mma '" +
                                source.filename().string() + "' >'" + output.filename().string() +
                                "' 2>&1";
    const int status = std::system(command.c_str());
    std::ostringstream captured;
    captured << std::ifstream(output).rdbuf();
    log = captured.str();
    std::filesystem::path midi = folder / (name + ".mid");
    if (status != 0 || !std::filesystem::exists(midi))
        return std::nullopt;
    return midi;
}

std::string MmaChordName(const Chord& chord) {
    std::string name = ChordName({chord.root, ChordQuality::Major, std::nullopt});
    name += chord.quality == ChordQuality::Diminished ? "dim3" : QualitySuffix(chord.quality);
    if (chord.bass)
        name += "/" + ChordName({*chord.bass, ChordQuality::Major, std::nullopt});
    return name;
}

}  // namespace vantrel::music::test
