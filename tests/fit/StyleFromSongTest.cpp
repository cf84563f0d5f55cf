// A style cut from one song: proposed parts, each part fitted with its own mode.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ChordSongs.h"
#include "FitFixtures.h"
#include "fit/StyleFromSong.h"

namespace vantrel {
namespace {

using ::testing::HasSubstr;

std::vector<std::uint8_t> Song(const std::vector<std::pair<int, int>>& chords) {
    return test::ChordSong(chords).Encode();
}

TEST(StyleFromSong, ProposesIntroEndingAndTheMostRepeatedOneChordStretchesAsFills) {
    // G G D D | Em C G G | D D Em C | G G D D | ... sixteen measures.
    const int major = 4;
    const int minor = 3;
    const std::vector<std::pair<int, int>> chords{{7, major}, {7, major}, {2, major}, {2, major},
                                                  {4, minor}, {0, major}, {7, major}, {7, major},
                                                  {2, major}, {2, major}, {4, minor}, {0, major},
                                                  {7, major}, {7, major}, {2, major}, {2, major}};
    const auto image = Song(chords);
    const SongSurvey survey = SurveySong(image, {});
    ASSERT_TRUE(survey.refused.empty()) << survey.refused;
    ASSERT_EQ(survey.chords.size(), 16u);
    ASSERT_TRUE(survey.chords[4].has_value());
    EXPECT_EQ(music::ChordName(*survey.chords[4]), "Em");

    const std::vector<SongPart> parts = ProposeParts(survey);
    ASSERT_GE(parts.size(), 3u);
    EXPECT_EQ(parts.front().kind, SongPartKind::Intro);
    EXPECT_EQ(parts.front().to, 4u);
    EXPECT_EQ(parts.back().kind, SongPartKind::Ending);
    EXPECT_EQ(parts.back().from, 13u);
    EXPECT_EQ(parts.back().to, 16u);
    // Between them Em and C each stand alone twice, G and D for two measures once: the Fills
    // are the stretches repeated most, each with its reason.
    const SongPart& fill = parts[1];
    EXPECT_EQ(fill.kind, SongPartKind::Fill);
    EXPECT_EQ(fill.FileName(), "fill1.mid");
    EXPECT_EQ(fill.from, 5u);
    EXPECT_EQ(fill.to, 5u);
    EXPECT_EQ(fill.reason, "Em alone for 1 measure, a stretch the song plays 2 times");
    EXPECT_EQ(parts[2].from, 6u);
    EXPECT_THAT(parts[2].reason, HasSubstr("C alone"));

    const auto outcomes = FitSongParts(image, parts, {});
    for (const SongPartOutcome& outcome : outcomes) {
        EXPECT_TRUE(outcome.result.Fits()) << outcome.part.Title() << ": " << outcome.result.reason;
        EXPECT_LE(outcome.result.bytes, PartBudget(outcome.part));
    }
    // The Fill went onto the source chord: its chord part is C E G in every measure.
    const auto back = test::ReadBack(outcomes[1].result.output);
    for (std::uint32_t t = 0; t < back->TrackCount(); ++t) {
        for (const MidiEvent& event : back->TrackEvents(t)) {
            if ((event.status & 0xF0) == 0x90 && (event.status & 0x0F) >= 12) {
                EXPECT_THAT((std::vector<int>{0, 4, 7}), ::testing::Contains(event.Data()[0] % 12));
            }
        }
    }
}

TEST(StyleFromSong, APartPastTheSongsEndIsRefusedWithItsName) {
    const auto image = Song({{0, 4}, {5, 4}});
    SongPart fill{SongPartKind::Fill, 2, 5, 1, ""};
    const auto outcomes = FitSongParts(image, {fill}, {});
    ASSERT_EQ(outcomes.size(), 1u);
    // Measures beyond the end are not refused by the cut itself (the part is shorter), but a
    // part that starts beyond the end is.
    SongPart late{SongPartKind::Ending, 9, 10, 1, ""};
    const auto refused = FitSongParts(image, {late}, {});
    ASSERT_TRUE(refused[0].result.refused);
    EXPECT_THAT(refused[0].result.reason, HasSubstr("Ending (measures 9-10): the song has"));
}

}  // namespace
}  // namespace vantrel
