#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ChordPrinting.h"
#include "music/ChordChart.h"

namespace vantrel::music {
namespace {

using ::testing::ElementsAre;

Chord Of(PitchClass root, ChordQuality quality, std::optional<PitchClass> bass = std::nullopt) {
    return {root, quality, bass};
}

TEST(ChordChartParse, MeasuresRepeatsSlashBassAndBlanks) {
    const ChartParseResult simple = ParseChordChart("C | Am | F | G7");
    ASSERT_TRUE(simple.chart) << simple.error;
    EXPECT_TRUE(simple.error.empty());
    EXPECT_THAT(simple.chart->measures,
                ElementsAre(Of(0, ChordQuality::Major), Of(9, ChordQuality::Minor),
                            Of(5, ChordQuality::Major), Of(7, ChordQuality::Seventh)));

    const ChartParseResult rich = ParseChordChart("| F\u266Fm7|%|  B\u266D  |C/E\t| % |");
    ASSERT_TRUE(rich.chart) << rich.error;
    EXPECT_THAT(rich.chart->measures,
                ElementsAre(Of(6, ChordQuality::Minor7), Of(6, ChordQuality::Minor7),
                            Of(10, ChordQuality::Major), Of(0, ChordQuality::Major, 4),
                            Of(0, ChordQuality::Major, 4)));
    EXPECT_EQ(ChartText(*rich.chart), "F#m7 | % | Bb | C/E | %");
    EXPECT_EQ(ParseChordChart(ChartText(*rich.chart)).chart, rich.chart);

    for (const char* empty : {"", "  ", "\n"}) {
        const ChartParseResult source = ParseChordChart(empty);
        ASSERT_TRUE(source.chart);
        EXPECT_THAT(source.chart->measures, ElementsAre(kSourceChord));
    }
}

TEST(ChordChartParse, ErrorsNameTheMeasureTheChordAndTheCharacter) {
    auto error = [](std::string_view text) {
        const ChartParseResult result = ParseChordChart(text);
        EXPECT_FALSE(result.chart) << text;
        return result.error;
    };
    EXPECT_EQ(error("C | Am | Hx7 | G7"), "measure 3: \"Hx7\" is not a chord (at character 10)");
    EXPECT_EQ(error("% | C"), "measure 1: \"%\" has no previous chord to repeat (at character 1)");
    EXPECT_EQ(error("C || G"),
              "measure 2: no chord (at character 4); write % to repeat the previous one");
    EXPECT_EQ(error("C | G Am"),
              "measure 2: \"G Am\" holds more than one chord (at character 5); a chart takes one "
              "chord per measure, separated by |");
    // Positions count characters, so the sharp sign counts once.
    EXPECT_EQ(error("F\u266F | X"), "measure 2: \"X\" is not a chord (at character 6)");
    EXPECT_EQ(error("|"),
              "measure 1: no chord (at character 1); write % to repeat the previous one");
}

}  // namespace
}  // namespace vantrel::music
