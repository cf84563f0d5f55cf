#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "music/Chord.h"

namespace vantrel::music {

// One chord per measure, in playing order.
struct ChordChart {
    std::vector<Chord> measures;
    bool operator==(const ChordChart&) const = default;
};

struct ChartParseResult {
    std::optional<ChordChart> chart;
    // Why the text is not a chart, naming the bad chord and where it is:
    // "measure 3: \"Hx7\" is not a chord (at character 9)". Empty on success.
    std::string error;
};

// "C | Am | F | G7": measures split by '|', one chord each, blanks around them ignored; "%"
// repeats the previous measure's chord. An empty text is the source chord alone.
ChartParseResult ParseChordChart(std::string_view text);

// The chart written back ("C | Am | F | G7"), for showing and for remembering.
std::string ChartText(const ChordChart& chart);

}  // namespace vantrel::music
