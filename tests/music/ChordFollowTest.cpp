#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string_view>
#include <vector>

#include "ChordPrinting.h"
#include "music/ChordFollow.h"

namespace vantrel::music {
namespace {

using ::testing::ElementsAreArray;

// C4 E4 G4 B4 (root, third, fifth, seventh) and D4 F4 A4 (9th, 11th, 13th) of the source chord.
constexpr std::array<int, 7> kWritten{60, 64, 67, 71, 62, 65, 69};

std::vector<int> Follow(const Chord& played, ChannelRole role = ChannelRole::ChordPart) {
    std::vector<int> notes;
    for (int note : kWritten)
        notes.push_back(FollowChord(note, role, played));
    return notes;
}

TEST(FollowChordParts, EveryChordTypeTakesEachRoleOfTheSourceChord) {
    // Root, third, fifth, seventh; 9th, 11th, 13th, over each chord type on C.
    const std::map<ChordQuality, std::vector<int>> expected{
        {ChordQuality::Major, {60, 64, 67, 72, 62, 65, 69}},
        {ChordQuality::Minor, {60, 63, 67, 72, 62, 65, 68}},
        {ChordQuality::Seventh, {60, 64, 67, 70, 62, 65, 69}},
        {ChordQuality::Major7, {60, 64, 67, 71, 62, 65, 69}},
        {ChordQuality::Minor7, {60, 63, 67, 70, 62, 65, 68}},
        {ChordQuality::Sixth, {60, 64, 67, 69, 62, 65, 69}},
        {ChordQuality::Minor6, {60, 63, 67, 69, 62, 65, 69}},
        {ChordQuality::Diminished, {60, 63, 66, 72, 62, 65, 68}},
        {ChordQuality::Diminished7, {60, 63, 66, 69, 62, 65, 68}},
        {ChordQuality::Augmented, {60, 64, 68, 72, 62, 65, 69}},
        {ChordQuality::Sus2, {60, 62, 67, 72, 62, 65, 69}},
        {ChordQuality::Sus4, {60, 65, 67, 72, 62, 65, 69}},
        {ChordQuality::Ninth, {60, 64, 67, 70, 62, 65, 69}},
        {ChordQuality::HalfDiminished, {60, 63, 66, 70, 62, 65, 68}},
        {ChordQuality::SeventhSus4, {60, 65, 67, 70, 62, 65, 69}},
    };
    ASSERT_EQ(expected.size(), kAllChordQualities.size());
    for (const auto& [quality, notes] : expected) {
        EXPECT_THAT(Follow({0, quality, std::nullopt}), ElementsAreArray(notes))
            << QualitySuffix(quality);
        // On another root each note takes the same role, in the octave nearest to C4..B4.
        for (PitchClass root = 1; root < 12; ++root) {
            const std::vector<int> moved = Follow({root, quality, std::nullopt});
            for (std::size_t i = 0; i < moved.size(); ++i) {
                EXPECT_EQ((moved[i] - root + 120) % 12, (notes[i] - 60 + 120) % 12);
                EXPECT_LE(std::abs(moved[i] - kWritten[i]), 6) << root << " " << i;
            }
        }
    }
}

TEST(FollowChordParts, EachNoteGoesToTheNearestOctave) {
    // Am7: C4 -> A3 (down 3, not up 9), E4 -> C4, G4 -> E4, B4 -> G4.
    EXPECT_THAT(Follow({9, ChordQuality::Minor7, std::nullopt}),
                ElementsAreArray({57, 60, 64, 67, 59, 62, 65}));
    // F: C4 -> F4 (up 5); the seventh B4, which a triad lacks, goes to the root F, a tritone
    // either way: F4.
    EXPECT_THAT(Follow({5, ChordQuality::Major, std::nullopt}),
                ElementsAreArray({65, 69, 72, 65, 67, 70, 74}));
    // A tritone away either way goes down: F# from C4 is F#3.
    EXPECT_EQ(FollowChord(60, ChannelRole::ChordPart, {6, ChordQuality::Major, std::nullopt}), 54);
}

TEST(FollowChordParts, NotesOutsideTheRolesMoveByTheRootsInterval) {
    const Chord g7{7, ChordQuality::Seventh, std::nullopt};
    EXPECT_EQ(FollowChord(61, ChannelRole::ChordPart, g7), 56);  // C#4 -> G#3
    EXPECT_EQ(FollowChord(63, ChannelRole::ChordPart, g7), 58);  // Eb4 -> Bb3
    const Chord cm{0, ChordQuality::Minor, std::nullopt};
    EXPECT_EQ(FollowChord(70, ChannelRole::ChordPart, cm), 70);  // Bb stays
    // A slash bass leaves the chord parts on the chord's own root.
    EXPECT_EQ(FollowChord(64, ChannelRole::ChordPart, {0, ChordQuality::Major, 4}), 64);
}

TEST(FollowChordBass, MovesByTheBassRootsIntervalNearItsWrittenRange) {
    const Chord am{9, ChordQuality::Minor, std::nullopt};
    EXPECT_EQ(FollowChord(36, ChannelRole::Bass, am), 33);  // C2 -> A1
    EXPECT_EQ(FollowChord(40, ChannelRole::Bass, am), 37);  // E2 -> C#2: one interval for all
    EXPECT_EQ(FollowChord(36, ChannelRole::Bass, {5, ChordQuality::Major, std::nullopt}), 41);
    EXPECT_EQ(FollowChord(36, ChannelRole::Bass, {7, ChordQuality::Major, std::nullopt}), 31);
    EXPECT_EQ(FollowChord(36, ChannelRole::Bass, {6, ChordQuality::Major, std::nullopt}), 30);
    // Slash bass: the bass takes the written bass note, the chord parts the chord.
    EXPECT_EQ(FollowChord(36, ChannelRole::Bass, {0, ChordQuality::Major, 4}), 40);
    EXPECT_EQ(FollowChord(43, ChannelRole::Bass, {0, ChordQuality::Major, 4}), 47);
    EXPECT_EQ(FollowChord(36, ChannelRole::Bass, {7, ChordQuality::Seventh, 11}), 35);
}

TEST(FollowChordDrums, DrumAndPercussionChannelsNeverMove) {
    EXPECT_EQ(RoleOfChannel(10), ChannelRole::Drums);
    EXPECT_EQ(RoleOfChannel(11), ChannelRole::Drums);
    EXPECT_EQ(RoleOfChannel(12), ChannelRole::Bass);
    for (int channel = 13; channel <= 16; ++channel)
        EXPECT_EQ(RoleOfChannel(channel), ChannelRole::ChordPart);
    for (ChordQuality quality : kAllChordQualities) {
        for (int note = 0; note < 128; ++note) {
            const Chord played{11, quality, 2};
            EXPECT_EQ(FollowChord(note, ChannelRole::Drums, played), note);
            EXPECT_EQ(MoveWithKey(note, ChannelRole::Drums, played), note);
        }
    }
}

TEST(FollowChordRange, EveryAnswerStaysAMidiKeyWithTheRightPitchClass) {
    for (ChordQuality quality : kAllChordQualities) {
        for (PitchClass root = 0; root < 12; ++root) {
            const Chord played{root, quality, (root + 7) % 12};
            for (int note = 0; note < 128; ++note) {
                for (ChannelRole role : {ChannelRole::Bass, ChannelRole::ChordPart}) {
                    const int moved = FollowChord(note, role, played);
                    ASSERT_GE(moved, 0);
                    ASSERT_LE(moved, 127);
                    if (note >= 6 && note <= 121) {
                        EXPECT_LE(std::abs(moved - note), 6);
                    }
                    const int back = MoveWithKey(note, role, played);
                    ASSERT_GE(back, 0);
                    ASSERT_LE(back, 127);
                }
            }
        }
    }
    // Near the top: the fifth G9 (127) over C# is G#, an octave down.
    EXPECT_EQ(FollowChord(127, ChannelRole::ChordPart, {1, ChordQuality::Major, std::nullopt}),
              116);
}

TEST(ToSourceChord, FollowingTheAnswerGivesEveryChordToneBack) {
    for (ChordQuality quality : kAllChordQualities) {
        for (PitchClass root = 0; root < 12; ++root) {
            const Chord chord{root, quality, std::nullopt};
            for (int interval : ChordIntervals(quality)) {
                for (int octave = 3; octave <= 7; ++octave) {
                    const int note = octave * 12 + (root + interval) % 12;
                    const int source = ToSourceChord(note, ChannelRole::ChordPart, chord);
                    EXPECT_EQ(FollowChord(source, ChannelRole::ChordPart, chord), note)
                        << ChordName(chord) << " " << note << " -> " << source;
                    // On the source chord every chord tone is one of C D E F G A B.
                    EXPECT_NE(std::string_view("x.x.xx.x.x.x")[source % 12], '.') << source;
                    EXPECT_LE(std::abs(source - note), 6);
                }
            }
            const int bass = 36 + root;
            EXPECT_EQ(ToSourceChord(bass, ChannelRole::Bass, chord) % 12, 0);
            EXPECT_EQ(FollowChord(ToSourceChord(bass, ChannelRole::Bass, chord), ChannelRole::Bass,
                                  chord),
                      bass);
        }
    }
}

TEST(ToSourceChord, AWalkingBassOverAMinorChordLandsInCMajor) {
    const Chord am{9, ChordQuality::Minor, std::nullopt};
    std::vector<int> walk;
    for (int note : {45, 47, 48, 50, 52, 53, 55, 57})  // A B C D E F G A
        walk.push_back(ToSourceChord(note, ChannelRole::Bass, am));
    EXPECT_THAT(walk, ElementsAreArray({48, 50, 52, 53, 55, 57, 59, 60}));  // C D E F G A B C
    // Over a slash bass the line moves with its root: E under C/E becomes C.
    EXPECT_EQ(ToSourceChord(40, ChannelRole::Bass, {0, ChordQuality::Major, 4}), 36);
    EXPECT_EQ(ToSourceChord(43, ChannelRole::Bass, {0, ChordQuality::Major, 4}), 39);
    // Chord parts: Am's tones by role, its scale's G to B, a note outside it by the root.
    EXPECT_EQ(ToSourceChord(69, ChannelRole::ChordPart, am), 72);  // A: root
    EXPECT_EQ(ToSourceChord(67, ChannelRole::ChordPart, am), 71);  // G: 7th degree of A minor
    EXPECT_EQ(ToSourceChord(66, ChannelRole::ChordPart, am), 69);  // F#: three up
    EXPECT_EQ(ToSourceChord(36, ChannelRole::Drums, am), 36);
    // A sus4's fourth and a sixth chord's sixth become the source chord's third and 13th.
    EXPECT_EQ(ToSourceChord(60, ChannelRole::ChordPart, {7, ChordQuality::Sus4, {}}), 64);
    EXPECT_EQ(ToSourceChord(62, ChannelRole::ChordPart, {5, ChordQuality::Sixth, {}}), 57);
}

TEST(ToSourceChord, AWalkingBassBeginsEveryMeasureOnTheRoot) {
    const Chord f{5, ChordQuality::Major, std::nullopt};
    const Chord g7{7, ChordQuality::Seventh, std::nullopt};
    // F's third, A2, starts the measure: the pattern's bass starts on the C nearest to it, C3;
    // after the downbeat A2 is still the third, E2.
    EXPECT_EQ(ToSourceChord(45, ChannelRole::Bass, f), 40);
    EXPECT_EQ(ToSourceChordOnDownbeat(45, ChannelRole::Bass, f), 48);
    // G7's fifth, D3, and seventh, F2: C3 and C2; F#2 a tritone from both Cs: the lower.
    EXPECT_EQ(ToSourceChordOnDownbeat(50, ChannelRole::Bass, g7), 48);
    EXPECT_EQ(ToSourceChordOnDownbeat(41, ChannelRole::Bass, g7), 36);
    EXPECT_EQ(ToSourceChordOnDownbeat(42, ChannelRole::Bass, g7), 36);
    // The root and a slash bass go to C as they always did; chord parts keep their roles.
    EXPECT_EQ(ToSourceChordOnDownbeat(41, ChannelRole::Bass, f),
              ToSourceChord(41, ChannelRole::Bass, f));
    EXPECT_EQ(ToSourceChordOnDownbeat(40, ChannelRole::Bass, {0, ChordQuality::Major, 4}), 36);
    for (int note : {65, 69, 72, 74})
        EXPECT_EQ(ToSourceChordOnDownbeat(note, ChannelRole::ChordPart, f),
                  ToSourceChord(note, ChannelRole::ChordPart, f));
    EXPECT_EQ(ToSourceChordOnDownbeat(38, ChannelRole::Drums, f), 38);
    // At the top and bottom of the MIDI range the answer stays a MIDI key.
    EXPECT_EQ(ToSourceChordOnDownbeat(127, ChannelRole::Bass, g7) % 12, 0);
    EXPECT_LE(ToSourceChordOnDownbeat(127, ChannelRole::Bass, g7), 127);
    EXPECT_GE(ToSourceChordOnDownbeat(1, ChannelRole::Bass, g7), 0);
}

TEST(MoveWithKey, IntroAndEndingMoveAsAWholeAndTurnMinor) {
    const std::vector<int> scale{60, 62, 64, 65, 67, 69, 71, 72};
    auto move = [&](const Chord& first) {
        std::vector<int> notes;
        for (int note : scale)
            notes.push_back(MoveWithKey(note, ChannelRole::ChordPart, first));
        return notes;
    };
    EXPECT_THAT(move({7, ChordQuality::Seventh, std::nullopt}),
                ElementsAreArray({55, 57, 59, 60, 62, 64, 66, 67}));
    // A minor: C major's E, A and B lowered, then down a minor third: A natural minor.
    EXPECT_THAT(move({9, ChordQuality::Minor, std::nullopt}),
                ElementsAreArray({57, 59, 60, 62, 64, 65, 67, 69}));
    EXPECT_THAT(move({0, ChordQuality::Minor7, std::nullopt}),
                ElementsAreArray({60, 62, 63, 65, 67, 68, 70, 72}));
    EXPECT_EQ(MoveWithKey(36, ChannelRole::Bass, {5, ChordQuality::Major, std::nullopt}), 41);
}

}  // namespace
}  // namespace vantrel::music
