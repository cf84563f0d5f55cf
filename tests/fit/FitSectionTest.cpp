// --measures FROM-TO: a section of a song becomes the whole pattern.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FitFixtures.h"
#include "fit/MeasureMap.h"

namespace vantrel {
namespace {

using test::ChannelEvents;
using test::Details;
using test::Fit;
using test::Kinds;
using test::ReadBack;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

FitOptions Measures(std::uint32_t from, std::uint32_t to) {
    FitOptions options;
    options.firstMeasure = from;
    options.measures = to;
    return options;
}

TEST(FitSection, AMiddleRangeStartsWithWhatWasInForceAndCutsNotesAtBothEdges) {
    SmfWriter writer(1, 192);
    writer.AddTrack()
        .Tempo(0, 500000)
        .TimeSignature(0, 4, 2)
        .Tempo(768, 400000)  // in force from measure 2
        .EndOfTrack(768);
    writer.AddTrack()
        .Channel(0, 0xC0, 12, 5)
        .Channel(0, 0xB0, 12, 7, 50)
        .Channel(700, 0xB0, 12, 7, 90)  // the volume in force at measure 2
        .Note(0, 12, 36, 100, 96)
        .Note(1400, 12, 38, 90, 300)  // sounds across the start of measure 3 (tick 1536)
        .Note(1536, 12, 40, 100, 96)
        .Note(2200, 12, 41, 100, 200)  // sounds across the end of measure 3 (tick 2304)
        .Note(2400, 12, 43, 100, 96)
        .EndOfTrack(3072);
    const FitResult result = Fit(writer, Measures(3, 3));
    ASSERT_FALSE(result.refused) << result.reason;
    EXPECT_THAT(Kinds(result), ElementsAre("length"));
    EXPECT_THAT(result.changes[0].detail, HasSubstr("kept measures 3 to 3 (ticks 1536 to 2304)"));
    EXPECT_THAT(result.changes[0].detail, HasSubstr("1 notes sounding at the start begin there"));
    EXPECT_THAT(result.changes[0].detail, HasSubstr("1 notes sounding at the cut end there"));
    const auto back = ReadBack(result.output);
    EXPECT_THAT(ChannelEvents(*back, 1),
                ElementsAre("CB 05 00 @0", "BB 07 5A @0", "9B 26 5A @0", "9B 28 64 @0",
                            "8B 28 40 @96", "8B 26 40 @164", "9B 29 64 @664", "8B 29 40 @768"));
    // The tempo of measure 2 stands at tick 0, alone.
    int tempos = 0;
    for (const MidiEvent& event : back->TrackEvents(0)) {
        if (event.MetaType() == 0x51) {
            ++tempos;
            EXPECT_EQ(event.time, 0u);
            EXPECT_EQ(event.MetaPayload()[0], 0x06);  // 400000 = 0x061A80
        }
    }
    EXPECT_EQ(tempos, 1);
    // The section fitted again is left as it is.
    EXPECT_THAT(Kinds(FitMidiImage(result.output, {})), ElementsAre("unchanged"));
}

TEST(FitSection, ATimeSignatureChangeInsideTheRangeIsRefusedWithItsMeasure) {
    SmfWriter writer(1, 192);
    // 4/4 for two measures, then 3/4 from tick 1536: measure 3.
    writer.AddTrack()
        .Tempo(0, 500000)
        .TimeSignature(0, 4, 2)
        .TimeSignature(1536, 3, 2)
        .EndOfTrack(1536);
    writer.AddTrack().Note(0, 12, 36, 100, 96).Note(2400, 12, 38, 100, 96).EndOfTrack(3072);
    const FitResult inside = Fit(writer, Measures(2, 4));
    ASSERT_TRUE(inside.refused);
    EXPECT_EQ(inside.reason,
              "the time signature changes to 3/4 in measure 3, inside measures 2 to 4; a "
              "pattern has one time signature");
    // Measures 3 and 4 lie in 3/4 alone: 576 ticks each, from tick 1536.
    const FitResult after = Fit(writer, Measures(3, 4));
    ASSERT_FALSE(after.refused) << after.reason;
    EXPECT_THAT(Details(after), HasSubstr("(ticks 1536 to 2688)"));
    EXPECT_EQ(after.notesOut.at(12), 1);
    // Beyond the song's end.
    EXPECT_THAT(Fit(writer, Measures(40, 41)).reason, HasSubstr("measure 40 is beyond its end"));
}

TEST(FitSection, MeasureMapCountsThroughEachTimeSignature) {
    Song song;
    song.tracks.emplace_back();
    song.tracks[0].events.push_back({0, 0xFF, {0x58, 6, 3, 24, 8}});     // 6/8: 576 ticks
    song.tracks[0].events.push_back({1000, 0xFF, {0x58, 4, 2, 24, 8}});  // mid measure 2
    const MeasureMap map(song);
    EXPECT_EQ(map.StartOf(1), 0u);
    EXPECT_EQ(map.StartOf(2), 576u);
    EXPECT_EQ(map.StartOf(3), 1000u);  // the change ends measure 2 early
    EXPECT_EQ(map.StartOf(4), 1768u);
    EXPECT_EQ(map.MeasureAt(1767), 3u);
    EXPECT_EQ(map.ChangeInside(1, 2), std::nullopt);
    EXPECT_EQ(map.ChangeInside(2, 3), 3u);
}

TEST(FitSection, MeasureRangeTextsAreChecked) {
    FitOptions options;
    EXPECT_EQ(ParseMeasureRange("8", options), "");
    EXPECT_EQ(options.firstMeasure, 1u);
    EXPECT_EQ(options.measures, 8u);
    EXPECT_EQ(ParseMeasureRange("5-12", options), "");
    EXPECT_EQ(options.firstMeasure, 5u);
    EXPECT_EQ(options.measures, 12u);
    for (const char* bad : {"0", "8-5", "a-3", "3-", "-3", "1-10000", ""})
        EXPECT_THAT(ParseMeasureRange(bad, options), HasSubstr("--measures takes")) << bad;
}

}  // namespace
}  // namespace vantrel
