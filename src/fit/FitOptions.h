#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace vantrel {

// What the user asks of a fit. Channels count from 1, as musicians number them.
struct FitOptions {
    std::optional<std::uint32_t> measures;  // keep measures up to this one (counted from 1)
    std::uint32_t firstMeasure = 1;         // and from this one
    std::optional<double> tempoBpm;         // used when the file has no tempo
    std::optional<std::uint8_t> numerator;  // used when the file has no time signature
    std::uint8_t denominatorPower = 2;      // with numerator: 2 for a quarter, 3 for an eighth
    std::map<int, int> channelMap;          // source channel -> 10..16
    std::set<int> dropChannels;             // source channels left out
    bool thinBends = false;                 // thin pitch bend and controller streams
};

// Option texts as the command line takes them; each answers an error text, empty on success.
// "12=13,1=12"
std::string ParseChannelMap(const std::string& text, std::map<int, int>& map);
// "9,11"
std::string ParseChannelList(const std::string& text, std::set<int>& channels);
// "8" (the first 8 measures) or "5-8" (measures 5 to 8), for --measures.
std::string ParseMeasureRange(const std::string& text, FitOptions& options);
// "6/8"
std::string ParseTimeSignature(const std::string& text, FitOptions& options);

}  // namespace vantrel
