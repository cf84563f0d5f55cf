// Grooves that mma writes over chord progressions we give it: the chords detected in its
// accompaniment must be the chords we gave, the accompaniment moved onto the source chord must
// sound C major 7 in every measure, and an accompaniment written on C major 7 must sound each
// chord of a chart once the chord rule has moved it. mma is a Debian package; without it these
// tests are skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "ChordPrinting.h"
#include "GrooveReading.h"
#include "common/ScopedTempDir.h"
#include "music/ChordChart.h"

namespace vantrel::music::test {
namespace {

// Walking bass (SwingWalk, JazzCombo), a pop and a folk accompaniment, a latin one.
constexpr std::array<const char*, 5> kGrooves{"SwingWalk", "JazzCombo", "8Beat", "Folk",
                                              "BossaNova"};

// Share of measures whose chord must be found, walking basses included: their downbeat is the
// root in only about half of mma's measures (the figures show how often).
constexpr double kRequiredShare = 0.95;

// Major and minor keys, sevenths, sixths, suspensions, half-diminished and diminished sevenths.
constexpr std::array<const char*, 7> kProgressions{
    "C | Am7 | Dm7 | G7 | Cmaj7 | F6 | Dm7 | G7",   "G | Em | Am7 | D7 | G | C | Am | D7sus4",
    "Bb | Gm7 | Cm7 | F7 | Bbmaj7 | Eb | Cm6 | F9", "Am | Dm | Bm7b5 | E7 | Am | F | G#dim7 | E7",
    "E | C#m | F#m7 | B7 | Emaj7 | A | F#m | B7",   "F | Dm7 | Gm7 | C7 | F6 | Bb | Gm6 | C9",
    "Cm | Fm | Dm7b5 | G7 | Cm | Ab | Bdim7 | G7",
};

// mma varies its grooves at random (its walking bass puts the root on "more than half" of the
// downbeats); each progression is played with two fixed seeds.
constexpr std::array<int, 2> kSeeds{1, 2};

std::string MmaText(const std::string& groove, const ChordChart& chart, int seed) {
    std::string text = "RndSeed " + std::to_string(seed) + "\nTempo 120\nGroove " + groove + "\n";
    for (std::size_t i = 0; i < chart.measures.size(); ++i)
        text += std::to_string(i + 1) + " " + MmaChordName(chart.measures[i]) + "\n";
    return text;
}

bool InSet(int key, std::string_view pattern) {
    return pattern[static_cast<std::size_t>(key % 12)] == 'x';
}
constexpr std::string_view kSourceTones = "x.x.x..x.x.x";  // C D E G A B
constexpr std::string_view kCMajorScale = "x.x.xx.x.x.x";

std::string PitchClasses(const std::vector<TimedNote>& notes) {
    static constexpr std::array<const char*, 12> kNames{"C",  "C#", "D",  "Eb", "E",  "F",
                                                        "F#", "G",  "Ab", "A",  "Bb", "B"};
    std::set<int> classes;
    for (const TimedNote& note : notes)
        classes.insert(note.key % 12);
    std::string text;
    for (int pc : classes)
        text += std::string(text.empty() ? "" : " ") + kNames[static_cast<std::size_t>(pc)];
    return text;
}

// The same root and type; a diminished seventh or augmented chord is the same on any of its
// tones (G#dim7 and Ddim7 sound the same notes, and no note of them is heard as the root).
bool SameChord(const Chord& found, const Chord& given) {
    if (found.quality != given.quality)
        return false;
    const int step = found.quality == ChordQuality::Diminished7 ? 3
                     : found.quality == ChordQuality::Augmented ? 4
                                                                : 12;
    return (found.root - given.root + 12) % step == 0;
}

class GrooveCorpus : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (!MmaInstalled())
            GTEST_SKIP() << "mma is not installed (Debian package mma): no grooves to test with";
        ASSERT_TRUE(folder_.Valid());
    }

    std::optional<Song> Generate(const std::string& name, const ChordChart& chart, int seed) {
        std::string log;
        const auto midi = RunMma(folder_.Path(), name, MmaText(GetParam(), chart, seed), log);
        if (!midi) {
            ADD_FAILURE() << "mma failed: " << log;
            return std::nullopt;
        }
        std::optional<Song> song = ReadSong(*midi, Channels::Song);
        if (!song)
            ADD_FAILURE() << "mma's file does not read";
        else if (song->measures < chart.measures.size())
            ADD_FAILURE() << "mma wrote " << song->measures << " measures";
        return song;
    }

    ScopedTempDir folder_;
};

struct Figures {
    int measures = 0;
    int detected = 0;
    int chordNotes = 0;
    int chordNotesOnSource = 0;
    int downbeats = 0;
    int downbeatsOnRoot = 0;
    int downbeatsOnC = 0;
    int walking = 0;
    int walkingInScale = 0;
};

TEST_P(GrooveCorpus, DetectsTheChordsGivenAndMovesThemOntoTheSourceChord) {
    Figures figures;
    for (std::size_t run = 0; run < kProgressions.size() * kSeeds.size(); ++run) {
        const std::size_t p = run / kSeeds.size();
        const int seed = kSeeds[run % kSeeds.size()];
        const ChordChart chart = *ParseChordChart(kProgressions[p]).chart;
        const std::optional<Song> song = Generate("run" + std::to_string(run), chart, seed);
        ASSERT_TRUE(song);
        std::vector<TimedNote> songNotes;
        for (const SongNote& entry : song->notes)
            songNotes.push_back(entry.note);
        std::vector<MeasureSpan> spans;
        for (std::uint32_t m = 0; m < chart.measures.size(); ++m)
            spans.push_back(song->Measure(m));
        const std::vector<MeasureChord> chords = DetectMeasureChords(songNotes, spans);
        for (std::uint32_t m = 0; m < chart.measures.size(); ++m) {
            const Chord& given = chart.measures[m];
            const std::string where = std::string(GetParam()) + ", " + kProgressions[p] +
                                      " (seed " + std::to_string(seed) + ") measure " +
                                      std::to_string(m + 1);
            ++figures.measures;
            const MeasureChord& found = chords[m];
            const bool same = found.chord && SameChord(*found.chord, given);
            figures.detected += same ? 1 : 0;
            if (!same) {
                std::printf("  %s: %s detected as %s (confidence %.2f)\n", where.c_str(),
                            ChordName(given).c_str(),
                            found.chord ? ChordName(*found.chord).c_str() : "no chord",
                            found.confidence);
            }

            // The measure moved onto the source chord with the chord mma was given.
            int notes = 0;
            int onSource = 0;
            const MeasureSpan span = song->Measure(m);
            const bool bassMoves = BassPitchClasses(songNotes, span) >= 2;
            for (const SongNote& entry : song->Starting(m)) {
                const int moved = ToSourceChord(entry.note.key, entry.note.role, given);
                if (entry.note.role == ChannelRole::ChordPart) {
                    ++notes;
                    onSource += InSet(moved, kSourceTones) ? 1 : 0;
                } else if (entry.note.start - span.start < span.beatLength / 8) {
                    // A walking bass may begin a measure on another tone of the chord; the
                    // pattern's bass begins it on the root, near where the line was.
                    const int onDownbeat =
                        bassMoves ? ToSourceChordOnDownbeat(entry.note.key, entry.note.role, given)
                                  : moved;
                    ++figures.downbeats;
                    figures.downbeatsOnC += onDownbeat % 12 == 0 ? 1 : 0;
                    figures.downbeatsOnRoot += entry.note.key % 12 == given.BassRoot() ? 1 : 0;
                    EXPECT_LE(std::abs(onDownbeat - entry.note.key), 6) << where;
                } else {
                    ++figures.walking;
                    figures.walkingInScale += InSet(moved, kCMajorScale) ? 1 : 0;
                }
            }
            EXPECT_GE(onSource, 0.95 * notes) << where;
            figures.chordNotes += notes;
            figures.chordNotesOnSource += onSource;
        }
    }
    const Figures& f = figures;
    std::printf(
        "%s: chords detected in %d of %d measures (%.1f%%). On the source chord: chord "
        "notes in C D E G A B %d of %d (%.1f%%); bass downbeats on C %d of %d (mma put "
        "the root on %d); other bass notes in C major %d of %d (%.1f%%)\n",
        GetParam(), f.detected, f.measures, 100.0 * f.detected / f.measures, f.chordNotesOnSource,
        f.chordNotes, 100.0 * f.chordNotesOnSource / std::max(f.chordNotes, 1), f.downbeatsOnC,
        f.downbeats, f.downbeatsOnRoot, f.walkingInScale, f.walking,
        100.0 * f.walkingInScale / std::max(f.walking, 1));
    EXPECT_GE(f.detected, kRequiredShare * f.measures);
    EXPECT_GT(f.chordNotes, 0);
    EXPECT_GE(f.walkingInScale, 0.95 * f.walking);
    EXPECT_GE(f.downbeatsOnC, 0.95 * f.downbeats);
}

TEST_P(GrooveCorpus, AGrooveOnTheSourceChordSoundsEveryChordOfAChart) {
    const ChordChart source{{kSourceChord, kSourceChord, kSourceChord, kSourceChord}};
    const std::optional<Song> song = Generate("source", source, kSeeds[0]);
    ASSERT_TRUE(song);
    const ChordChart chart = *ParseChordChart("C | Am | F | G7").chart;
    for (std::uint32_t m = 0; m < chart.measures.size(); ++m) {
        std::vector<TimedNote> followed = song->Sounding(m);
        for (TimedNote& note : followed)
            note.key = FollowChord(note.key, note.role, chart.measures[m]);
        const MeasureChord found = DetectMeasureChord(followed, song->Measure(m));
        const Chord& played = chart.measures[m];
        std::printf("%s over %s: %s, heard as %s\n", GetParam(), ChordName(played).c_str(),
                    PitchClasses(followed).c_str(),
                    found.chord ? ChordName(*found.chord).c_str() : "no chord");
        // The measure sounds its chord: the same root and every tone of the chord, perhaps
        // with a tension the pattern holds (a 9th the groove voices over C major 7 is a 9th
        // over G7 too).
        ASSERT_TRUE(found.chord) << GetParam() << " measure " << m + 1;
        EXPECT_EQ(found.chord->root, played.root) << GetParam() << " measure " << m + 1;
        const std::vector<int> heard = ChordIntervals(found.chord->quality);
        for (int tone : ChordIntervals(played.quality)) {
            EXPECT_NE(std::find(heard.begin(), heard.end(), tone), heard.end())
                << GetParam() << " measure " << m + 1 << " lacks " << tone;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(MmaGrooves, GrooveCorpus, ::testing::ValuesIn(kGrooves));

}  // namespace
}  // namespace vantrel::music::test
