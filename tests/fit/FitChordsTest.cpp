// Chords in fit: reported per measure, bass and chord parts moved onto C major 7, or a whole part
// moved into C major or A minor.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "FitFixtures.h"
#include "fit/FitReportText.h"
#include "music/ChordFollow.h"

namespace vantrel {
namespace {

using test::Details;
using test::Fit;
using test::Kinds;
using test::ReadBack;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// One measure of a triad: the bass plays the root on the downbeat and the fifth on beat 3, the
// chord part holds the triad for the whole measure. Notes on channels 12 and 13.
void Triad(SmfWriter& writer, std::uint32_t measure, int root, int third, int fifth) {
    SmfTrack& bass = writer.AddTrack();
    const std::uint32_t at = measure * 768;
    bass.Note(at, 12, static_cast<std::uint8_t>(36 + root), 100, 360)
        .Note(at + 384, 12, static_cast<std::uint8_t>(36 + root + fifth), 100, 360)
        .EndOfTrack(at + 768);
    SmfTrack& chord = writer.AddTrack();
    for (int interval : {0, third, fifth})
        chord.Note(at, 13, static_cast<std::uint8_t>(60 + root + interval), 90, 760);
    chord.EndOfTrack(at + 768);
}

SmfWriter Conductor() {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
    return writer;
}

// Pitch classes of the notes of channel (1..16) in a fitted file.
std::set<int> PitchClasses(const std::vector<std::uint8_t>& bytes, int channel) {
    const auto back = ReadBack(bytes);
    std::set<int> classes;
    for (std::uint32_t t = 0; t < back->TrackCount(); ++t) {
        for (const MidiEvent& event : back->TrackEvents(t)) {
            if (event.status == 0x90 + channel - 1 && event.Data()[1] > 0)
                classes.insert(event.Data()[0] % 12);
        }
    }
    return classes;
}

TEST(FitChords, SourceChordMovesEachMeasureOntoCMajorAndComesBackThroughTheChordRule) {
    SmfWriter writer = Conductor();
    Triad(writer, 0, 7, 4, 7);  // G
    Triad(writer, 1, 2, 4, 7);  // D
    Triad(writer, 2, 4, 3, 7);  // Em
    FitOptions options;
    options.sourceChord = true;
    const FitResult result = Fit(writer, options);
    ASSERT_FALSE(result.refused) << result.reason;
    const std::string details = Details(result);
    EXPECT_THAT(details, HasSubstr("chord: measure 1: G ("));
    EXPECT_THAT(details, HasSubstr("chord: measure 2: D ("));
    EXPECT_THAT(details, HasSubstr("chord: measure 3: Em ("));
    EXPECT_THAT(details, HasSubstr("source-chord: moved"));
    EXPECT_THAT(details, HasSubstr("come back exactly"));
    EXPECT_EQ(PitchClasses(result.output, 12), (std::set<int>{0, 7}));
    EXPECT_EQ(PitchClasses(result.output, 13), (std::set<int>{0, 4, 7}));
    // Fitting the fitted part again changes nothing.
    const FitResult again = FitMidiImage(result.output, options);
    EXPECT_TRUE(again.unchanged) << Details(again);
    EXPECT_EQ(again.output, result.output);
}

// The keys of channel (1..16) in a fitted file, in order of time.
std::vector<int> Keys(const std::vector<std::uint8_t>& bytes, int channel) {
    const auto back = ReadBack(bytes);
    std::vector<std::pair<std::uint32_t, int>> timed;
    for (std::uint32_t t = 0; t < back->TrackCount(); ++t) {
        for (const MidiEvent& event : back->TrackEvents(t)) {
            if (event.status == 0x90 + channel - 1 && event.Data()[1] > 0)
                timed.emplace_back(event.time, event.Data()[0]);
        }
    }
    std::sort(timed.begin(), timed.end());
    std::vector<int> keys;
    for (const auto& [time, key] : timed)
        keys.push_back(key);
    return keys;
}

TEST(FitChords, AWalkingBassThatBeginsAMeasureOnAnotherToneBeginsItOnTheRoot) {
    // F, F A C on every beat, over a bass walking A2 Bb2 C3 D3; then C over C2 E2 G2 A2; then C
    // over a pedal, G2 repeated: it keeps its fifth on the downbeat.
    SmfWriter writer = Conductor();
    SmfTrack& bass = writer.AddTrack();
    std::uint32_t at = 0;
    for (int key : {45, 46, 48, 50, 36, 40, 43, 45, 43, 43}) {
        bass.Note(at, 12, static_cast<std::uint8_t>(key), 100, 180);
        at += 192;
    }
    bass.EndOfTrack(3 * 768);
    SmfTrack& chord = writer.AddTrack();
    for (std::uint32_t beat = 0; beat < 12; ++beat) {
        for (int key : beat < 4 ? std::vector<int>{65, 69, 72} : std::vector<int>{64, 67, 72})
            chord.Note(beat * 192, 13, static_cast<std::uint8_t>(key), 90, 180);
    }
    chord.EndOfTrack(3 * 768);
    FitOptions options;
    options.sourceChord = true;
    const FitResult result = Fit(writer, options);
    ASSERT_FALSE(result.refused) << result.reason;
    const std::string details = Details(result);
    EXPECT_THAT(details, HasSubstr("chord: measure 1: F ("));
    EXPECT_THAT(details, HasSubstr("chord: measure 2: C ("));
    EXPECT_THAT(details, HasSubstr("chord: measure 3: C ("));
    EXPECT_THAT(details, HasSubstr("1 measures where the bass line began on another tone "
                                   "begin on the root, C"));
    // The rest of the line keeps its tones, moved onto C major: Bb C D to F G A.
    EXPECT_THAT(Keys(result.output, 12), ElementsAre(48, 41, 43, 45, 36, 40, 43, 45, 43, 43));
    // Played over F again, the downbeat is F, not the A the song had: one note comes back
    // different, and the report says so.
    EXPECT_THAT(details, HasSubstr("with 1 notes different"));
    const FitResult again = FitMidiImage(result.output, options);
    EXPECT_TRUE(again.unchanged) << Details(again);
}

TEST(FitChords, AChartDecidesTheChordsAndMustCoverEveryMeasure) {
    SmfWriter writer = Conductor();
    Triad(writer, 0, 9, 3, 7);  // Am
    Triad(writer, 1, 5, 4, 7);  // F
    FitOptions options;
    options.sourceChord = true;
    options.chart = music::ParseChordChart("Am | F").chart;
    const FitResult result = Fit(writer, options);
    ASSERT_FALSE(result.refused) << result.reason;
    EXPECT_THAT(Details(result), HasSubstr("chord: measure 2: F (chart)"));
    EXPECT_EQ(PitchClasses(result.output, 13), (std::set<int>{0, 4, 7}));

    options.chart = music::ParseChordChart("Am").chart;
    const FitResult shortChart = Fit(writer, options);
    ASSERT_TRUE(shortChart.refused);
    EXPECT_EQ(shortChart.reason, "the chord chart gives 1 measures, the part has 2");
}

TEST(FitChords, AMeasureWithTwoChordsIsLeftAsItIsWithAWarning) {
    SmfWriter writer = Conductor();
    SmfTrack& bass = writer.AddTrack();
    bass.Note(0, 12, 43, 100, 380).Note(384, 12, 38, 100, 380).EndOfTrack(768);  // G then D
    SmfTrack& chord = writer.AddTrack();
    for (int key : {67, 71, 74})
        chord.Note(0, 13, static_cast<std::uint8_t>(key), 90, 380);
    for (int key : {62, 66, 69})
        chord.Note(384, 13, static_cast<std::uint8_t>(key), 90, 380);
    chord.EndOfTrack(768);
    FitOptions options;
    options.sourceChord = true;
    const FitResult result = Fit(writer, options);
    ASSERT_FALSE(result.refused) << result.reason;
    EXPECT_THAT(Details(result), HasSubstr("warning: measure 1 holds two chords, G then D"));
    EXPECT_THAT(Kinds(result), Not(Contains("source-chord")));
    EXPECT_EQ(PitchClasses(result.output, 13), (std::set<int>{7, 11, 2, 6, 9}));

    // The command line's report says how to choose the chord; a program that offers no way to
    // choose one (the window) gives no advice line, and neither names a command-line option
    // inside a change.
    EXPECT_THAT(FitReportLines(result), Contains(HasSubstr("advice: give --chords")));
    const std::vector<std::string> quiet = FitReportLines(result, FitAdvice{"fewer", "drop", ""});
    EXPECT_THAT(quiet, Not(Contains(HasSubstr("advice"))));
    EXPECT_THAT(quiet, Not(Contains(HasSubstr("--"))));
}

TEST(FitReport, APartOverItsBlockIsToldWhatToDoInTheProgramsOwnWords) {
    FitResult over;
    over.bytes = kFitBudget + 1200;
    EXPECT_EQ(FitShortfall(over),
              "1,200 bytes over the 2,048-byte block: keep fewer measures "
              "(--measures) or leave channels out (--drop)");
    EXPECT_EQ(FitShortfall(over, FitAdvice{"keep fewer measures", "untick Keep for a channel", ""}),
              "1,200 bytes over the 2,048-byte block: keep fewer measures or untick Keep for a "
              "channel");
    EXPECT_EQ(FitShortfall(over, FitAdvice{}), "1,200 bytes over the 2,048-byte block");
    EXPECT_THAT(FitReportLines(over, FitAdvice{}).back(),
                HasSubstr("does not fit: 1,200 bytes over"));
    FitResult within;
    within.bytes = kFitBudget;
    EXPECT_EQ(FitShortfall(within), "");
}

TEST(FitChords, KeyMovesEverythingButTheDrumsIntoCMajorOrAMinor) {
    SmfWriter writer = Conductor();
    SmfTrack& melody = writer.AddTrack();
    // E natural minor, up and down, with the drums on channel 10.
    std::uint32_t at = 0;
    for (int key : {64, 66, 67, 69, 71, 72, 74, 76, 74, 72, 71, 69, 67, 66, 64, 64}) {
        melody.Note(at, 13, static_cast<std::uint8_t>(key), 90, 90);
        at += 96;
    }
    melody.EndOfTrack(at);
    writer.AddTrack().Note(0, 10, 36, 100, 48).Note(768, 10, 38, 100, 48).EndOfTrack(at);
    FitOptions options;
    options.key = FitOptions::KeyChoice{};
    const FitResult minor = Fit(writer, options);
    ASSERT_FALSE(minor.refused) << minor.reason;
    EXPECT_THAT(Details(minor), HasSubstr("up 5 semitones from Em (found"));
    EXPECT_THAT(Details(minor), HasSubstr("into Am"));
    EXPECT_EQ(PitchClasses(minor.output, 13), (std::set<int>{9, 11, 0, 2, 4, 5, 7}));
    EXPECT_EQ(PitchClasses(minor.output, 10), (std::set<int>{0, 2}));
    EXPECT_TRUE(FitMidiImage(minor.output, options).unchanged);

    options.minorAsC = true;
    const FitResult asC = Fit(writer, options);
    EXPECT_THAT(Details(asC), HasSubstr("down 4 semitones from Em (found"));

    FitOptions given;
    ASSERT_EQ(ParseKeyChoice("G", given), "");
    const FitResult asG = Fit(writer, given);
    EXPECT_THAT(Details(asG), HasSubstr("up 5 semitones from G major (given)"));

    // Played by the keyboard over its key chord, each moved part sounds in E minor again.
    const std::set<int> eMinor{4, 6, 7, 9, 11, 0, 2};
    for (const FitResult* result : {&minor, &asC, &asG}) {
        ASSERT_TRUE(result->keyChord.has_value());
        std::set<int> heard;
        for (const int pitchClass : PitchClasses(result->output, 13))
            heard.insert(music::MoveWithKey(60 + pitchClass, music::ChannelRole::ChordPart,
                                            *result->keyChord) %
                         12);
        EXPECT_EQ(heard, eMinor) << music::ChordName(*result->keyChord);
    }
    EXPECT_THAT(Details(minor), HasSubstr("played over G it sounds in Em again"));
    EXPECT_EQ(music::ChordName(*minor.keyChord), "G");
    EXPECT_EQ(music::ChordName(*asC.keyChord), "E");
    EXPECT_THAT(ParseKeyChoice("G7", given), HasSubstr("--key takes auto"));
}

TEST(FitChords, ADrumOnlyFileHasNothingToMoveSaidOnce) {
    SmfWriter writer = Conductor();
    writer.AddTrack().Note(0, 10, 36, 100, 48).Note(384, 10, 38, 100, 48).EndOfTrack(768);
    FitOptions options;
    options.sourceChord = true;
    const FitResult result = Fit(writer, options);
    EXPECT_THAT(Kinds(result), ElementsAre("chord", "unchanged"));
    EXPECT_THAT(result.changes[0].detail, HasSubstr("only drums"));
    EXPECT_TRUE(result.unchanged);
}

}  // namespace
}  // namespace vantrel
