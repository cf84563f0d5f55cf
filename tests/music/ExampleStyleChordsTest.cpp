// The example style (examples/, written by vantrel-make-examples) as the keyboard would play it
// over a chart: every measure of a Fill must sound the chord the player holds, and the Intro and
// Ending, moved by key, must be in the key of the chart's first chord.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

#include "ChordPrinting.h"
#include "GrooveReading.h"
#include "music/ChordChart.h"

namespace vantrel::music::test {
namespace {

const std::filesystem::path kExamples = VANTREL_EXAMPLES_DIR;

std::string Names(const std::vector<TimedNote>& notes) {
    std::set<int> classes;
    for (const TimedNote& note : notes)
        classes.insert(note.key % 12);
    std::string text;
    for (int pc : classes) {
        text += text.empty() ? "" : " ";
        text += ChordName({pc, ChordQuality::Major, std::nullopt});
    }
    return text;
}

TEST(ExampleStyleChords, EveryMeasureOfAFillSoundsTheChordHeld) {
    const ChordChart chart = *ParseChordChart("C | Am | F | G7").chart;
    for (const char* fill : {"fill1.mid", "fill2.mid", "fill3.mid"}) {
        const std::optional<Song> song = ReadSong(kExamples / fill, Channels::Pattern);
        ASSERT_TRUE(song) << fill;
        ASSERT_GE(song->measures, 1u);
        for (std::uint32_t m = 0; m < chart.measures.size(); ++m) {
            const std::uint32_t measure = m % song->measures;  // a Fill loops over the chart
            std::vector<TimedNote> notes = song->Sounding(measure);
            for (TimedNote& note : notes)
                note.key = FollowChord(note.key, note.role, chart.measures[m]);
            const MeasureChord found = DetectMeasureChord(notes, song->Measure(measure));
            std::printf("%s over %s: %s\n", fill, ChordName(chart.measures[m]).c_str(),
                        Names(notes).c_str());
            ASSERT_TRUE(found.chord) << fill << " over " << ChordName(chart.measures[m]);
            // The Fill's parts hold a triad: over G7 it sounds G (the seventh is the chart's).
            EXPECT_EQ(found.chord->root, chart.measures[m].root) << fill;
            EXPECT_EQ(HasMinorThird(found.chord->quality), HasMinorThird(chart.measures[m].quality))
                << fill << " over " << ChordName(chart.measures[m]);
        }
    }
}

TEST(ExampleStyleChords, IntroAndEndingMoveIntoTheKeyOfTheFirstChord) {
    for (const char* part : {"intro.mid", "ending.mid"}) {
        const std::optional<Song> song = ReadSong(kExamples / part, Channels::Pattern);
        ASSERT_TRUE(song) << part;
        std::vector<TimedNote> notes;
        for (const SongNote& entry : song->notes)
            notes.push_back(entry.note);
        const KeyEstimate written = DetectKey(notes);
        EXPECT_EQ(written.tonic, 0) << part;
        EXPECT_FALSE(written.minor) << part;
        for (const Chord first :
             {Chord{9, ChordQuality::Minor, {}}, Chord{5, ChordQuality::Major, {}},
              Chord{2, ChordQuality::Minor7, {}}}) {
            std::vector<TimedNote> moved = notes;
            for (TimedNote& note : moved)
                note.key = MoveWithKey(note.key, note.role, first);
            const KeyEstimate key = DetectKey(moved);
            std::printf("%s starting on %s: key %s%s (%.2f)\n", part, ChordName(first).c_str(),
                        ChordName({key.tonic, ChordQuality::Major, {}}).c_str(),
                        key.minor ? " minor" : " major", key.confidence);
            EXPECT_EQ(key.tonic, first.root) << part << " on " << ChordName(first);
            EXPECT_EQ(key.minor, HasMinorThird(first.quality))
                << part << " on " << ChordName(first);
        }
    }
}

}  // namespace
}  // namespace vantrel::music::test
