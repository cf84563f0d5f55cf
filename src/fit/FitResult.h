#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "music/Chord.h"
#include "pattern/StyleImage.h"

namespace vantrel {

// One thing fitting did to the song, or found in it, in the order the steps run. kind is a short
// word for programs: "division", "split", "conductor", "channel", "held-note", "length",
// "dropped", "repair", "thinned", "unchanged"; "chord" (a measure's chord, detected or from the
// chart, or a part with only drums), "warning" (a measure with two chords or none, left as it
// is), "source-chord" (bass and chord notes moved onto C major 7) and "key" (the key found or
// given, and the move into C major or A or C minor). detail is the line the user reads.
struct FitChange {
    std::string kind;
    std::string detail;
};

// The keyboard's block for one pattern: control list entry and pattern data together.
inline constexpr std::size_t kFitBudget = kStyleBlockSize;
// The eighth Fill's block loses its last 6 bytes on the way to the keyboard.
inline constexpr std::size_t kFitBudgetEighthFill = StyleBlockCapacity(FillBlock(8));

// What the chord detection made of one measure, for views that show every measure.
struct MeasureChordFinding {
    std::uint32_t measure = 0;          // counted in the song, from 1
    std::optional<music::Chord> chord;  // the chord used; nothing where none is clear
    double confidence = 0.0;            // 0..1; 1 for a chord the chart gives
    bool fromChart = false;
    bool twoChords = false;
    bool silent = false;
    // With twoChords: the chords of the measure's two halves.
    std::optional<music::Chord> firstHalf;
    std::optional<music::Chord> secondHalf;
};

struct FitResult {
    // The file cannot be made into a pattern at all (reason says why); nothing else is filled.
    bool refused = false;
    std::string reason;

    std::vector<FitChange> changes;
    std::map<int, int> notesIn;        // by the input's channels
    std::map<int, int> notesOut;       // by the output's channels
    std::map<int, int> channelMap;     // input channel -> output channel, for the channels kept
    std::vector<std::uint8_t> output;  // the fitted file; the input's own bytes when unchanged
    // When chords were asked for: the chord of each measure kept, nothing where none is clear.
    std::vector<std::optional<music::Chord>> measureChords;
    // The same measures with how sure each chord is, and the two-chord and unclear ones.
    std::vector<MeasureChordFinding> measureFindings;
    // A part moved as a whole into C major or a minor key (an Intro or Ending): the chord that,
    // held at the keyboard, moves it back into the song's own key. A major chord, so that the
    // keyboard transposes and changes no note (the song's tonic, or for a minor song moved into
    // A minor its relative major).
    std::optional<music::Chord> keyChord;
    // When more channels carry notes than the keyboard plays: the ones with the fewest notes,
    // as many as must be left out.
    std::vector<int> dropSuggestion;
    // Chords were asked of a part that holds nothing but drums: nothing to move.
    bool onlyDrums = false;
    bool unchanged = false;

    // The output converted exactly as the upload converts it.
    std::vector<std::string> checkErrors;     // empty when it passes the pattern rules
    std::size_t bytes = 0;                    // control list entry + pattern data
    std::map<int, std::size_t> channelBytes;  // pattern data bytes by channel 10..16

    // The output passes the pattern rules and its block holds it.
    bool Fits() const { return !refused && checkErrors.empty() && bytes <= kFitBudget; }
};

}  // namespace vantrel
