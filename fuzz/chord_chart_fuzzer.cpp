// Chord charts are typed by users. Whatever the text, the parser answers with a chart or with an
// error naming a measure and a character inside the text, never both. A chart written back is a
// chart that reads as the same measures, and writing it again gives the same text; every chord of
// it is named so that its name reads back as it, and the chord rule keeps each note a MIDI key.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "music/ChordChart.h"
#include "music/ChordFollow.h"

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

std::size_t Characters(std::string_view text) {
    std::size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// "measure N: ... (at character K)" with N a measure the text can have and K inside the text.
void CheckError(std::string_view text, const std::string& error) {
    Require(error.starts_with("measure "));
    const std::size_t measure = std::strtoul(error.c_str() + 8, nullptr, 10);
    std::size_t bars = 0;
    for (char c : text)
        bars += c == '|';
    Require(measure >= 1 && measure <= bars + 1);
    const std::size_t at = error.rfind("(at character ");
    Require(at != std::string::npos);
    const std::size_t character = std::strtoul(error.c_str() + at + 14, nullptr, 10);
    Require(character >= 1 && character <= Characters(text) + 1);
}

void CheckChord(const vantrel::music::Chord& chord) {
    using namespace vantrel::music;
    Require(chord.root >= 0 && chord.root < 12);
    Require(!chord.bass || (*chord.bass >= 0 && *chord.bass < 12 && *chord.bass != chord.root));
    Require(ParseChord(ChordName(chord)) == chord);
    for (int note : {0, 5, 36, 60, 64, 71, 122, 127}) {
        for (ChannelRole role : {ChannelRole::Bass, ChannelRole::ChordPart}) {
            const int moved = FollowChord(note, role, chord);
            Require(moved >= 0 && moved <= 127);
            const int source = ToSourceChord(note, role, chord);
            Require(source >= 0 && source <= 127);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel::music;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ChartParseResult result = ParseChordChart(text);
    Require(result.chart.has_value() == result.error.empty());
    if (!result.chart) {
        CheckError(text, result.error);
        return 0;
    }
    Require(!result.chart->measures.empty());
    for (const Chord& chord : result.chart->measures)
        CheckChord(chord);
    const std::string written = ChartText(*result.chart);
    const ChartParseResult again = ParseChordChart(written);
    Require(again.chart == result.chart);
    Require(ChartText(*again.chart) == written);
    if (const std::optional<Chord> single = ParseChord(text))
        CheckChord(*single);
    return 0;
}
