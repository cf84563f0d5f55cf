#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ChordPrinting.h"
#include "music/ChordChart.h"

namespace vantrel::music {
namespace {

using ::testing::ElementsAre;

TEST(ChordNames, EveryQualityInEveryRootIsWrittenAndReadBack) {
    for (ChordQuality quality : kAllChordQualities) {
        for (PitchClass root = 0; root < 12; ++root) {
            const Chord chord{root, quality, std::nullopt};
            const std::string name = ChordName(chord);
            EXPECT_EQ(ParseChord(name), chord) << name;
            const Chord slash{root, quality, (root + 4) % 12};
            EXPECT_EQ(ParseChord(ChordName(slash)), slash) << ChordName(slash);
        }
    }
    EXPECT_EQ(ChordName({1, ChordQuality::Minor7, std::nullopt}), "C#m7");
    EXPECT_EQ(ChordName({10, ChordQuality::Major7, std::nullopt}), "Bbmaj7");
    EXPECT_EQ(ChordName({8, ChordQuality::HalfDiminished, 3}), "Abm7b5/Eb");
    EXPECT_EQ(ChordName({0, ChordQuality::Major, 4}), "C/E");
}

TEST(ChordNames, SharpsAndFlatsInAsciiAndUnicodeAndSlashBass) {
    EXPECT_EQ(ParseChord("F#m7"), (Chord{6, ChordQuality::Minor7, std::nullopt}));
    EXPECT_EQ(ParseChord("F\u266Fm7"), (Chord{6, ChordQuality::Minor7, std::nullopt}));
    EXPECT_EQ(ParseChord("Gb"), (Chord{6, ChordQuality::Major, std::nullopt}));
    EXPECT_EQ(ParseChord("B\u266D"), (Chord{10, ChordQuality::Major, std::nullopt}));
    EXPECT_EQ(ParseChord("Cb"), (Chord{11, ChordQuality::Major, std::nullopt}));
    EXPECT_EQ(ParseChord("B#dim7"), (Chord{0, ChordQuality::Diminished7, std::nullopt}));
    EXPECT_EQ(ParseChord("Ebm7\u266D5"), (Chord{3, ChordQuality::HalfDiminished, std::nullopt}));
    EXPECT_EQ(ParseChord("C/E"), (Chord{0, ChordQuality::Major, 4}));
    EXPECT_EQ(ParseChord("Am7/G"), (Chord{9, ChordQuality::Minor7, 7}));
    EXPECT_EQ(ParseChord("D/F\u266F"), (Chord{2, ChordQuality::Major, 6}));
    EXPECT_EQ(ParseChord("C/C"), (Chord{0, ChordQuality::Major, std::nullopt}));
    for (const char* bad : {"", "H", "c", "Cx", "Cmaj", "C#b", "C/", "C/H", "C/Em", "Cm/E/G", "C7 ",
                            " C", "\u266F", "Am7b"})
        EXPECT_EQ(ParseChord(bad), std::nullopt) << bad;
}

TEST(ChordTones, EachQualityHasItsOwnTonesAndRoles) {
    EXPECT_THAT(ChordIntervals(ChordQuality::Major), ElementsAre(0, 4, 7));
    EXPECT_THAT(ChordIntervals(ChordQuality::Major7), ElementsAre(0, 4, 7, 11));
    EXPECT_THAT(ChordIntervals(ChordQuality::Minor6), ElementsAre(0, 3, 7, 9));
    EXPECT_THAT(ChordIntervals(ChordQuality::Diminished7), ElementsAre(0, 3, 6, 9));
    EXPECT_THAT(ChordIntervals(ChordQuality::Augmented), ElementsAre(0, 4, 8));
    EXPECT_THAT(ChordIntervals(ChordQuality::Sus2), ElementsAre(0, 2, 7));
    EXPECT_THAT(ChordIntervals(ChordQuality::SeventhSus4), ElementsAre(0, 5, 7, 10));
    EXPECT_THAT(ChordIntervals(ChordQuality::Ninth), ElementsAre(0, 4, 7, 10, 14));
    EXPECT_THAT(ChordIntervals(ChordQuality::HalfDiminished), ElementsAre(0, 3, 6, 10));
    EXPECT_EQ(RoleInterval(ChordQuality::Major, ChordRole::Seventh), std::nullopt);
    EXPECT_EQ(RoleInterval(ChordQuality::Sus4, ChordRole::Third), 5);
    EXPECT_EQ(RoleInterval(ChordQuality::Sixth, ChordRole::Seventh), 9);
    EXPECT_EQ(RoleInterval(ChordQuality::Minor7, ChordRole::Thirteenth), 8);
    // Every tone a chord names plays one of its roles.
    for (ChordQuality quality : kAllChordQualities) {
        for (int tone : ChordIntervals(quality)) {
            bool played = false;
            for (ChordRole role : {ChordRole::Root, ChordRole::Third, ChordRole::Fifth,
                                   ChordRole::Seventh, ChordRole::Ninth})
                played = played || RoleInterval(quality, role) == tone % 12;
            EXPECT_TRUE(played) << QualitySuffix(quality) << " " << tone;
        }
    }
}

}  // namespace
}  // namespace vantrel::music
