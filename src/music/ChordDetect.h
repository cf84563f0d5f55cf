#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "music/Chord.h"
#include "music/ChordFollow.h"

namespace vantrel::music {

// A sounding note of a bass or chord channel, in ticks.
struct TimedNote {
    int key = 60;
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    ChannelRole role = ChannelRole::ChordPart;
};

// One measure's window and its beats, in ticks.
struct MeasureSpan {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    std::uint32_t beatLength = 0;
};

struct MeasureChord {
    std::optional<Chord> chord;  // nothing when no chord is clear (or the measure is silent)
    double confidence = 0.0;     // 0..1: how much of the weighted sound the chord explains
    bool twoChords = false;      // the halves of the measure hold different chords
    std::optional<Chord> secondChord;
};

// How many different pitch classes the bass starts in the measure: one for a held or repeated
// note (a pedal), two or more for a line, three or more for a walking bass.
int BassPitchClasses(std::span<const TimedNote> notes, const MeasureSpan& measure);

// The chords detected in the measures before and after one, each read alone.
struct NeighbourChords {
    std::optional<Chord> previous;
    std::optional<Chord> next;
};

// The chord of one measure: pitch classes weighted by duration and by metric position (downbeat
// strongest), the bass's lowest note on the downbeat as the root's evidence, matched against the
// chord types a chart can name. A bass after its downbeat, and all of a walking bass (three or
// more pitch classes in the measure), counts as passing notes: explained by a chord, but no
// proof of one, and a walking bass's downbeat is weaker evidence of the root. Chords with the
// same tones are told apart by the bass, else a minor 7 wins over a 6 (Am7, C6) and a m7b5 over
// a m6. A bass held on another chord tone for half the measure is reported as a slash bass.
// Measures of two beats or more whose halves hold different clear chords are two chords.
// Scale steps of a walking or passing bass are explained by any chord whose scale holds them.
// Where chords with the same tones score alike (Am7 and C6 over a walking bass that starts on
// C), the one whose root falls a fifth from the previous chord or to the next wins.
MeasureChord DetectMeasureChord(std::span<const TimedNote> notes, const MeasureSpan& measure,
                                const NeighbourChords& neighbours = {});

// The chord of every measure (`measures` in order of time), in order: each measure is read
// alone, then once more beside the chords found around it.
std::vector<MeasureChord> DetectMeasureChords(std::span<const TimedNote> notes,
                                              std::span<const MeasureSpan> measures);

struct KeyEstimate {
    PitchClass tonic = 0;
    bool minor = false;
    double confidence = 0.0;  // 0..1
};

// The key of a whole part from its pitch classes weighted by duration, correlated with the
// major and minor key profiles of listening experiments (Krumhansl and Kessler). Drums are left
// out; the confidence is the correlation of the best key, 0 for a part without notes.
KeyEstimate DetectKey(std::span<const TimedNote> notes);

}  // namespace vantrel::music
