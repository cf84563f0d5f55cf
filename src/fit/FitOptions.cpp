#include "fit/FitOptions.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace vantrel {

namespace {

std::optional<int> Number(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end || text.empty())
        return std::nullopt;
    return value;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

}  // namespace

std::string ParseMeasureRange(const std::string& text, FitOptions& options) {
    const auto dash = text.find('-');
    const auto from =
        dash == std::string::npos ? std::optional<int>(1) : Number(text.substr(0, dash));
    const auto to = Number(dash == std::string::npos ? text : text.substr(dash + 1));
    if (!from || !to || *from < 1 || *to < *from || *to > 9999)
        return "--measures takes N or FROM-TO, measures counted from 1 up to 9999 (e.g. 8 or "
               "5-8): \"" +
               text + "\"";
    options.firstMeasure = static_cast<std::uint32_t>(*from);
    options.measures = static_cast<std::uint32_t>(*to);
    return {};
}

std::string ParseChannelMap(const std::string& text, std::map<int, int>& map) {
    std::set<int> destinations;
    for (const std::string& pair : Split(text, ',')) {
        const auto equals = pair.find('=');
        const auto from = Number(pair.substr(0, equals));
        const auto to =
            equals == std::string::npos ? std::nullopt : Number(pair.substr(equals + 1));
        if (!from || !to || *from < 1 || *from > 16)
            return "--map takes SRC=DST pairs of channels 1-16, e.g. 1=12,2=13: \"" + pair + "\"";
        if (*to < 10 || *to > 16)
            return "--map: the keyboard plays channels 10-16 only: \"" + pair + "\"";
        if (!destinations.insert(*to).second || map.count(*from))
            return "--map: each channel once on either side: \"" + pair + "\"";
        map[*from] = *to;
    }
    return {};
}

std::string ParseChannelList(const std::string& text, std::set<int>& channels) {
    for (const std::string& item : Split(text, ',')) {
        const auto channel = Number(item);
        if (!channel || *channel < 1 || *channel > 16)
            return "--drop takes channels 1-16, e.g. 3,4: \"" + item + "\"";
        channels.insert(*channel);
    }
    return {};
}

std::string ParseTimeSignature(const std::string& text, FitOptions& options) {
    const auto slash = text.find('/');
    const auto numerator = Number(text.substr(0, slash));
    const auto denominator =
        slash == std::string::npos ? std::nullopt : Number(text.substr(slash + 1));
    const std::string usage = "--time-signature takes N/D, e.g. 3/4 or 6/8: \"" + text + "\"";
    if (!numerator || !denominator || *numerator < 1 || *numerator > 15)
        return usage;
    for (std::uint8_t power = 0; power <= 5; ++power) {
        if (*denominator == (1 << power)) {
            options.numerator = static_cast<std::uint8_t>(*numerator);
            options.denominatorPower = power;
            return {};
        }
    }
    return usage;
}

}  // namespace vantrel
