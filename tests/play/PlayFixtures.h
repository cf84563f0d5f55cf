#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "common/ScopedTempDir.h"
#include "midi/SmfWriter.h"
#include "play/PartSources.h"
#include "play/Performance.h"

namespace vantrel::test {

// A two-measure 4/4 pattern at 120 BPM written on C major 7: a kick on every beat (channel 10),
// a shaker on channel 11, the bass C2 then G2 in each measure (channel 12, program 33, volume
// 90, pan 64, reverb 40), and a held E4 G4 B4 on channel 13.
inline SmfWriter TwoMeasurePattern(std::uint32_t tempoMicroseconds = 500000) {
    SmfWriter file(1, 192);
    file.AddTrack().Tempo(0, tempoMicroseconds).TimeSignature(0, 4, 2).EndOfTrack(1536);
    // Each track is finished before the next is added: AddTrack may move the earlier ones.
    SmfTrack& drums = file.AddTrack();
    for (std::uint32_t beat = 0; beat < 8; ++beat)
        drums.Note(beat * 192, 10, 36, 100, 96);
    drums.EndOfTrack(1536);
    file.AddTrack().Note(96, 11, 70, 80, 48).Note(768 + 96, 11, 70, 80, 48).EndOfTrack(1536);
    SmfTrack& bass = file.AddTrack();
    bass.Channel(0, 0xC0, 12, 33).Channel(0, 0xB0, 12, 7, 90).Channel(0, 0xB0, 12, 10, 64);
    bass.Channel(0, 0xB0, 12, 91, 40);
    for (std::uint32_t at : {0u, 768u})
        bass.Note(at, 12, 36, 100, 384).Note(at + 384, 12, 43, 100, 384);
    bass.EndOfTrack(1536);
    SmfTrack& chords = file.AddTrack();
    for (std::uint32_t at : {0u, 768u})
        chords.Note(at, 13, 64, 90, 768).Note(at, 13, 67, 90, 768).Note(at, 13, 71, 90, 768);
    chords.EndOfTrack(1536);
    return file;
}

// The file converted as the keyboard takes it, read back as a part to play.
inline play::PlayPart ConvertedPart(const SmfWriter& file, play::PartKind kind,
                                    const char* name = "pattern.mid") {
    ScopedTempDir folder;
    const auto path = folder.Path() / name;
    EXPECT_TRUE(file.Save(path));
    play::PartLoad load = play::LoadPatternFile(path, kind);
    EXPECT_TRUE(load.Ok()) << (load.problems.empty() ? "" : load.problems.front());
    return load.parts.empty() ? play::PlayPart{} : load.parts.front();
}

inline std::vector<play::TimedMessage> NoteOns(const play::Performance& performance, int channel) {
    std::vector<play::TimedMessage> notes;
    for (const auto& event : performance.events) {
        if (event.IsNoteOn() && event.Channel() == channel)
            notes.push_back(event);
    }
    return notes;
}

// The pitch classes a channel strikes in one measure.
inline std::set<int> PitchClassesIn(const play::Performance& performance, int channel,
                                    std::size_t measure) {
    const auto& span = performance.measures.at(measure);
    std::set<int> classes;
    for (const auto& note : NoteOns(performance, channel)) {
        if (note.tick >= span.startTick && note.tick < span.startTick + span.lengthTicks)
            classes.insert(note.bytes[1] % 12);
    }
    return classes;
}

}  // namespace vantrel::test
