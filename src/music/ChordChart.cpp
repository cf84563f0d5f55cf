#include "music/ChordChart.h"

namespace vantrel::music {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

// Characters (not bytes) before byte `offset`, so positions match what the user sees with ♯, ♭.
std::size_t CharacterNumber(std::string_view text, std::size_t offset) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            ++characters;
    }
    return characters + 1;
}

struct Measure {
    std::string_view text;   // without the blanks around it
    std::size_t offset = 0;  // of `text` in the chart, in bytes
};

std::vector<Measure> SplitMeasures(std::string_view chart) {
    std::vector<Measure> measures;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = chart.find('|', start);
        const std::size_t end = bar == std::string_view::npos ? chart.size() : bar;
        const std::string_view raw = chart.substr(start, end - start);
        const std::size_t first = raw.find_first_not_of(kBlanks);
        Measure measure{{}, start};
        if (first != std::string_view::npos) {
            const std::size_t last = raw.find_last_not_of(kBlanks);
            measure = {raw.substr(first, last - first + 1), start + first};
        }
        measures.push_back(measure);
        if (bar == std::string_view::npos)
            break;
        start = bar + 1;
    }
    // A bar line before the first measure or after the last one is only a bar line.
    if (measures.size() > 1 && measures.back().text.empty())
        measures.pop_back();
    if (measures.size() > 1 && measures.front().text.empty())
        measures.erase(measures.begin());
    return measures;
}

ChartParseResult Failure(std::string error) {
    return {std::nullopt, std::move(error)};
}

}  // namespace

ChartParseResult ParseChordChart(std::string_view text) {
    if (text.find_first_not_of(kBlanks) == std::string_view::npos)
        return {ChordChart{{kSourceChord}}, {}};
    ChordChart chart;
    const std::vector<Measure> measures = SplitMeasures(text);
    for (std::size_t i = 0; i < measures.size(); ++i) {
        const Measure& measure = measures[i];
        const std::string where = "measure " + std::to_string(i + 1) + ": ";
        const std::string at =
            " (at character " + std::to_string(CharacterNumber(text, measure.offset)) + ")";
        if (measure.text.empty())
            return Failure(where + "no chord" + at + "; write % to repeat the previous one");
        if (measure.text == "%") {
            if (chart.measures.empty())
                return Failure(where + "\"%\" has no previous chord to repeat" + at);
            chart.measures.push_back(chart.measures.back());
            continue;
        }
        if (measure.text.find_first_of(kBlanks) != std::string_view::npos) {
            return Failure(where + "\"" + std::string(measure.text) +
                           "\" holds more than one chord" + at +
                           "; a chart takes one chord per measure, separated by |");
        }
        const std::optional<Chord> chord = ParseChord(measure.text);
        if (!chord)
            return Failure(where + "\"" + std::string(measure.text) + "\" is not a chord" + at);
        chart.measures.push_back(*chord);
    }
    return {std::move(chart), {}};
}

std::string ChartText(const ChordChart& chart) {
    std::string text;
    for (std::size_t i = 0; i < chart.measures.size(); ++i) {
        if (i > 0)
            text += " | ";
        text += i > 0 && chart.measures[i] == chart.measures[i - 1] ? std::string("%")
                                                                    : ChordName(chart.measures[i]);
    }
    return text;
}

}  // namespace vantrel::music
