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

// Notes of measure `measure` (from 0) of a 4/4 song, for detection over several measures.
TimedNote At(std::uint32_t measure, int key, double beat, double beats, ChannelRole role) {
    return {key, static_cast<std::uint32_t>((measure * 4 + beat) * kBeat),
            static_cast<std::uint32_t>(beats * kBeat), role};
}

// A chord part playing `keys` on every beat and a bass walking `line`, one note a beat.
void Walk(std::vector<TimedNote>& notes, std::uint32_t measure, std::initializer_list<int> keys,
          std::initializer_list<int> line) {
    for (int beat = 0; beat < 4; ++beat) {
        for (int key : keys)
            notes.push_back(At(measure, key, beat, 0.8, ChannelRole::ChordPart));
    }
    int beat = 0;
    for (int key : line)
        notes.push_back(At(measure, key, beat++, 0.8, ChannelRole::Bass));
}

void Held(std::vector<TimedNote>& notes, std::uint32_t measure, std::initializer_list<int> keys,
          int bass) {
    for (int key : keys)
        notes.push_back(At(measure, key, 0, 4, ChannelRole::ChordPart));
    notes.push_back(At(measure, bass, 0, 4, ChannelRole::Bass));
}

std::vector<Chord> Found(const std::vector<TimedNote>& notes, std::uint32_t measures) {
    std::vector<MeasureSpan> spans;
    for (std::uint32_t m = 0; m < measures; ++m)
        spans.push_back({m * 4 * kBeat, 4 * kBeat, kBeat});
    std::vector<Chord> chords;
    for (const MeasureChord& found : DetectMeasureChords(notes, spans))
        chords.push_back(found.chord.value_or(Chord{-1, ChordQuality::Major, std::nullopt}));
    return chords;
}

TEST(DetectMeasureChord, AWalkingBassStepsThroughTheScaleWithoutAddingTensions) {
    // G7 voiced G B D F over a bass walking G A A B: the bass's A is no ninth.
    std::vector<TimedNote> notes;
    Walk(notes, 1, {55, 59, 62, 65}, {43, 45, 45, 47});
    EXPECT_EQ(DetectMeasureChord(notes, kMeasure).chord, (Chord{7, ChordQuality::Seventh, {}}));
    // A C triad over a bass walking D D D E is no C9 (it has no B flat).
    notes.clear();
    Walk(notes, 1, {60, 64, 67}, {38, 38, 38, 40});
    EXPECT_EQ(DetectMeasureChord(notes, kMeasure).chord, (Chord{0, ChordQuality::Major, {}}));
    // An E flat triad over a bass walking down from its sixth, C C Bb Ab, is E flat, not an
    // unclear C minor 7 whose root only the bass would play.
    notes.clear();
    Walk(notes, 1, {63, 67, 70}, {48, 48, 46, 44});
    EXPECT_EQ(DetectMeasureChord(notes, kMeasure).chord, (Chord{3, ChordQuality::Major, {}}));
    // B7 voiced B D# F# A over a bass walking on G# and F#: not G#m7, which has no A.
    notes.clear();
    Walk(notes, 1, {59, 63, 66, 69}, {44, 42, 44, 42});
    EXPECT_EQ(DetectMeasureChord(notes, kMeasure).chord, (Chord{11, ChordQuality::Seventh, {}}));
}

TEST(DetectMeasureChords, ChordsWithTheSameTonesAreNamedByTheProgression) {
    const Chord c{0, ChordQuality::Major, {}};
    const Chord g7{7, ChordQuality::Seventh, {}};
    const Chord f{5, ChordQuality::Major, {}};
    const Chord dm7{2, ChordQuality::Minor7, {}};
    // C E G A over a bass walking C E D E: Am7 on its way to Dm7, C6 after G7 and before F.
    std::vector<TimedNote> notes;
    Held(notes, 0, {60, 64, 67}, 36);
    Walk(notes, 1, {60, 64, 67, 69}, {36, 40, 38, 40});
    Held(notes, 2, {62, 65, 69, 72}, 38);
    EXPECT_THAT(Found(notes, 3),
                ::testing::ElementsAre(c, Chord{9, ChordQuality::Minor7, {}}, dm7));
    // Its halves sound the same tones (C6 over the bass's C, Am7 over its D and E): one chord.
    EXPECT_FALSE(DetectMeasureChord(notes, kMeasure).twoChords);
    notes.clear();
    Held(notes, 0, {59, 62, 65, 67}, 43);
    Walk(notes, 1, {60, 64, 67, 69}, {36, 40, 38, 40});
    Held(notes, 2, {60, 65, 69}, 41);
    EXPECT_THAT(Found(notes, 3), ::testing::ElementsAre(g7, Chord{0, ChordQuality::Sixth, {}}, f));

    // C D F A over C D C D after Cmaj7 and before Dm7: F6, not Dm7 twice.
    notes.clear();
    Held(notes, 0, {59, 64, 67, 72}, 36);
    Walk(notes, 1, {60, 62, 65, 69}, {48, 50, 48, 50});
    Held(notes, 2, {62, 65, 69, 72}, 38);
    EXPECT_EQ(Found(notes, 3)[1], (Chord{5, ChordQuality::Sixth, {}}));

    // C Eb G A over G G F Eb between Eb and F7: Cm6, not Am7b5.
    notes.clear();
    Held(notes, 0, {63, 67, 70}, 39);
    Walk(notes, 1, {60, 63, 67, 69}, {43, 43, 41, 39});
    Held(notes, 2, {60, 63, 65, 69}, 41);
    EXPECT_EQ(Found(notes, 3)[1], (Chord{0, ChordQuality::Minor6, {}}));

    // A bass held on A names Am7 whatever comes around it.
    notes.clear();
    Held(notes, 0, {59, 62, 65, 67}, 43);
    Held(notes, 1, {60, 64, 67, 69}, 45);
    Held(notes, 2, {60, 65, 69}, 41);
    EXPECT_EQ(Found(notes, 3)[1], (Chord{9, ChordQuality::Minor7, {}}));

    // Each measure gets the notes that sound in it, also one held across the bar line.
    notes.clear();
    Held(notes, 0, {60, 64, 67}, 36);
    notes.push_back(At(1, 62, 0, 8, ChannelRole::ChordPart));
    notes.push_back(At(1, 65, 0, 8, ChannelRole::ChordPart));
    notes.push_back(At(1, 69, 0, 8, ChannelRole::ChordPart));
    notes.push_back(At(1, 38, 0, 8, ChannelRole::Bass));
    const Chord dm{2, ChordQuality::Minor, {}};
    EXPECT_THAT(Found(notes, 3), ::testing::ElementsAre(c, dm, dm));
    EXPECT_TRUE(DetectMeasureChords(notes, {}).empty());
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
