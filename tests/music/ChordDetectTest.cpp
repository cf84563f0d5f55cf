#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "ChordPrinting.h"
#include "music/ChordDetect.h"

namespace vantrel::music {
namespace {

constexpr std::uint32_t kBeat = 480;
constexpr MeasureSpan kMeasure{1920, 4 * kBeat, kBeat};  // the second measure of 4/4

TimedNote Note(int key, std::uint32_t beat, double beats, ChannelRole role) {
    return {key, kMeasure.start + beat * kBeat, static_cast<std::uint32_t>(beats * kBeat), role};
}

// The chord's tones from `lowest` upwards in close position, held for the whole measure, with
// the bass on the root.
std::vector<TimedNote> HeldChord(const Chord& chord, int lowest = 60) {
    std::vector<TimedNote> notes;
    for (int interval : ChordIntervals(chord.quality)) {
        const int key = lowest + (chord.root + interval - lowest % 12 + 24) % 12;
        notes.push_back(Note(key, 0, 4, ChannelRole::ChordPart));
    }
    notes.push_back(Note(36 + chord.BassRoot(), 0, 4, ChannelRole::Bass));
    return notes;
}

TEST(DetectMeasureChord, EveryChordTypeInAllTwelveRoots) {
    for (ChordQuality quality : kAllChordQualities) {
        for (PitchClass root = 0; root < 12; ++root) {
            const Chord chord{root, quality, std::nullopt};
            const MeasureChord found = DetectMeasureChord(HeldChord(chord), kMeasure);
            EXPECT_EQ(found.chord, chord);
            EXPECT_DOUBLE_EQ(found.confidence, 1.0);
            EXPECT_FALSE(found.twoChords);
        }
    }
}

TEST(DetectMeasureChord, InversionsAndAHeldBassOnAnotherChordTone) {
    for (ChordQuality quality : kAllChordQualities) {
        for (PitchClass root : {2, 9}) {
            const Chord chord{root, quality, std::nullopt};
            // Chord parts voiced upwards from F3, A3 and E4 (the root, third or fifth lowest,
            // depending on the chord), the bass on the root.
            for (int lowest : {53, 57, 64}) {
                EXPECT_EQ(DetectMeasureChord(HeldChord(chord, lowest), kMeasure).chord, chord)
                    << ChordName(chord) << " from " << lowest;
            }
        }
    }
    // A bass held on the third or the fifth is a slash bass.
    for (const Chord slash :
         {Chord{0, ChordQuality::Major, 4}, Chord{9, ChordQuality::Minor, 0},
          Chord{7, ChordQuality::Seventh, 11}, Chord{5, ChordQuality::Major7, 9}})
        EXPECT_EQ(DetectMeasureChord(HeldChord(slash), kMeasure).chord, slash) << ChordName(slash);
}

TEST(DetectMeasureChord, AWalkingBassUnderShortChordStabs) {
    // F7: stabs on beats 2 and 4, a bass walking F A C D and up to the next chord's root.
    std::vector<TimedNote> notes;
    for (std::uint32_t beat : {1u, 3u}) {
        for (int key : {63, 65, 69, 72})
            notes.push_back(Note(key, beat, 0.5, ChannelRole::ChordPart));
    }
    int beat = 0;
    for (int key : {41, 45, 48, 50})
        notes.push_back(Note(key, static_cast<std::uint32_t>(beat++), 1, ChannelRole::Bass));
    const MeasureChord found = DetectMeasureChord(notes, kMeasure);
    EXPECT_EQ(found.chord, (Chord{5, ChordQuality::Seventh, std::nullopt}));
    EXPECT_GT(found.confidence, 0.7);
    EXPECT_FALSE(found.twoChords);

    // A walking line of scale notes under a plain C triad stays a C triad.
    notes.clear();
    for (int key : {60, 64, 67})
        notes.push_back(Note(key, 0, 4, ChannelRole::ChordPart));
    std::uint32_t eighth = 0;
    for (int key : {36, 38, 40, 43, 45, 47, 48, 43}) {
        notes.push_back(Note(key, 0, 0.5, ChannelRole::Bass));
        notes.back().start += eighth++ * kBeat / 2;
    }
    EXPECT_EQ(DetectMeasureChord(notes, kMeasure).chord, (Chord{0, ChordQuality::Major, {}}));
}

TEST(DetectMeasureChord, TwoChordsInOneMeasure) {
    std::vector<TimedNote> notes;
    for (int key : {60, 64, 67})
        notes.push_back(Note(key, 0, 2, ChannelRole::ChordPart));
    notes.push_back(Note(36, 0, 2, ChannelRole::Bass));
    for (int key : {59, 62, 65, 67})
        notes.push_back(Note(key, 2, 2, ChannelRole::ChordPart));
    notes.push_back(Note(43, 2, 2, ChannelRole::Bass));
    const MeasureChord found = DetectMeasureChord(notes, kMeasure);
    EXPECT_TRUE(found.twoChords);
    EXPECT_EQ(found.chord, (Chord{0, ChordQuality::Major, {}}));
    EXPECT_EQ(found.secondChord, (Chord{7, ChordQuality::Seventh, {}}));

    // The same chord with its seventh added halfway is one chord.
    notes.resize(4);
    notes.push_back(Note(70, 2, 2, ChannelRole::ChordPart));
    const MeasureChord one = DetectMeasureChord(notes, kMeasure);
    EXPECT_FALSE(one.twoChords);
    EXPECT_EQ(one.secondChord, std::nullopt);
    ASSERT_TRUE(one.chord);
    EXPECT_EQ(one.chord->root, 0);
}

TEST(DetectMeasureChord, SilentAndUnclearMeasuresHaveNoChord) {
    EXPECT_EQ(DetectMeasureChord({}, kMeasure).chord, std::nullopt);
    EXPECT_EQ(DetectMeasureChord({}, kMeasure).confidence, 0.0);
    // Notes of other measures do not count.
    const std::vector<TimedNote> elsewhere{{60, 0, 1920, ChannelRole::ChordPart},
                                           {64, 3840, 480, ChannelRole::ChordPart}};
    EXPECT_EQ(DetectMeasureChord(elsewhere, kMeasure).chord, std::nullopt);
    const std::vector<TimedNote> drums{Note(36, 0, 1, ChannelRole::Drums),
                                       Note(38, 1, 1, ChannelRole::Drums),
                                       Note(42, 2, 1, ChannelRole::Drums)};
    EXPECT_EQ(DetectMeasureChord(drums, kMeasure).chord, std::nullopt);
    // A bare fifth is neither major nor minor; a cluster is no chord.
    const std::vector<TimedNote> fifth{Note(48, 0, 4, ChannelRole::Bass),
                                       Note(55, 0, 4, ChannelRole::ChordPart),
                                       Note(60, 0, 4, ChannelRole::ChordPart)};
    EXPECT_EQ(DetectMeasureChord(fifth, kMeasure).chord, std::nullopt);
    std::vector<TimedNote> cluster;
    for (int key = 60; key < 72; ++key)
        cluster.push_back(Note(key, 0, 4, ChannelRole::ChordPart));
    const MeasureChord unclear = DetectMeasureChord(cluster, kMeasure);
    EXPECT_EQ(unclear.chord, std::nullopt);
    EXPECT_LT(unclear.confidence, 0.6);
}

std::vector<TimedNote> Melody(std::initializer_list<int> keys, int lastBeats = 4) {
    std::vector<TimedNote> notes;
    std::uint32_t start = 0;
    std::size_t i = 0;
    for (int key : keys) {
        const std::uint32_t length = ++i == keys.size() ? lastBeats * kBeat : kBeat;
        notes.push_back({key, start, length, ChannelRole::ChordPart});
        start += length;
    }
    return notes;
}

TEST(DetectKey, MajorAndMinorScalesInEveryKey) {
    for (int tonic = 0; tonic < 12; ++tonic) {
        auto shift = [&](std::vector<TimedNote> notes) {
            for (TimedNote& note : notes)
                note.key += tonic;
            return notes;
        };
        const KeyEstimate major = DetectKey(shift(Melody({60, 62, 64, 65, 67, 69, 71, 72})));
        EXPECT_EQ(major.tonic, tonic);
        EXPECT_FALSE(major.minor) << tonic;
        EXPECT_GT(major.confidence, 0.6);
        // Harmonic minor, up and down to its tonic.
        const KeyEstimate minor =
            DetectKey(shift(Melody({57, 59, 60, 62, 64, 65, 68, 69, 68, 64, 60, 57})));
        EXPECT_EQ(minor.tonic, (tonic + 9) % 12);
        EXPECT_TRUE(minor.minor) << tonic;
        EXPECT_GT(minor.confidence, 0.6);
    }
    // Drums say nothing of the key.
    std::vector<TimedNote> notes = Melody({60, 64, 67, 72});
    notes.push_back({61, 0, 100 * kBeat, ChannelRole::Drums});
    EXPECT_EQ(DetectKey(notes).tonic, 0);
    EXPECT_EQ(DetectKey({}).confidence, 0.0);
}

}  // namespace
}  // namespace vantrel::music
