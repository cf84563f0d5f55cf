#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "music/Chord.h"
#include "pattern/StyleImage.h"

namespace vantrel {

// One thing fitting did to the song, in the order the steps run. kind is a short word for
// programs ("division", "split", "conductor", "channel", "held-note", "length", "dropped",
// "repair", "thinned", "unchanged"); detail is the line the user reads.
struct FitChange {
    std::string kind;
    std::string detail;
};

// The keyboard's block for one pattern: control list entry and pattern data together.
inline constexpr std::size_t kFitBudget = kStyleBlockSize;
// The eighth Fill's block loses its last 6 bytes on the way to the keyboard.
inline constexpr std::size_t kFitBudgetEighthFill = StyleBlockCapacity(FillBlock(8));

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
    bool unchanged = false;

    // The output converted exactly as the upload converts it.
    std::vector<std::string> checkErrors;     // empty when it passes the pattern rules
    std::size_t bytes = 0;                    // control list entry + pattern data
    std::map<int, std::size_t> channelBytes;  // pattern data bytes by channel 10..16

    // The output passes the pattern rules and its block holds it.
    bool Fits() const { return !refused && checkErrors.empty() && bytes <= kFitBudget; }
};

}  // namespace vantrel
