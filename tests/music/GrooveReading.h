#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "music/ChordDetect.h"

namespace vantrel::music::test {

// A note of a Standard MIDI File with its channel (1..16) and the role the chord rule gives it.
struct SongNote {
    TimedNote note;
    int channel = 1;
};

// What the chord tests need of a song: its notes (drums included), the measure grid of its
// first time signature, and the name of every channel's track.
struct Song {
    std::vector<SongNote> notes;
    std::uint32_t measureLength = 0;
    std::uint32_t beatLength = 0;
    std::uint32_t measures = 0;

    MeasureSpan Measure(std::uint32_t index) const {
        return {index * measureLength, measureLength, beatLength};
    }
    // The bass and chord notes that sound in measure `index` (drums left out).
    std::vector<TimedNote> Sounding(std::uint32_t index) const;
    // The bass and chord notes that begin in measure `index`, with their channels.
    std::vector<SongNote> Starting(std::uint32_t index) const;
};

// How channels get their roles: a pattern's by the keyboard's rule (RoleOfChannel); a song's
// with channel 10 as drums, the bass as the channel whose track is named Bass or Walk ("Bass-...",
// "Walk-..." too) or else the lowest by mean pitch, and every other channel a chord part.
enum class Channels { Pattern, Song };

// Reads a file through CMidiReader; nothing when it does not read.
std::optional<Song> ReadSong(const std::filesystem::path& file, Channels channels);

// Runs mma on `text` in `folder` and answers the MIDI file it wrote, or nothing (with mma's
// output in `log`).
std::optional<std::filesystem::path> RunMma(const std::filesystem::path& folder,
                                            const std::string& name, const std::string& text,
                                            std::string& log);

bool MmaInstalled();

// The chord as mma spells it: the same as a chart, except its diminished triad "dim3" (mma's
// "dim" is a diminished seventh).
std::string MmaChordName(const Chord& chord);

}  // namespace vantrel::music::test
