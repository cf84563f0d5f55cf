#include <gtest/gtest.h>

#include <map>

#include "PlayFixtures.h"
#include "music/Chord.h"
#include "music/ChordChart.h"
#include "play/Performance.h"

namespace vantrel::play {
namespace {

using test::ConvertedPart;
using test::NoteOns;
using test::PitchClassesIn;
using test::TwoMeasurePattern;

music::ChordChart Chart(const char* text) {
    auto parsed = music::ParseChordChart(text);
    EXPECT_TRUE(parsed.chart) << parsed.error;
    return parsed.chart.value_or(music::ChordChart{});
}

Performance Perform(const PlayPart& part, const char* chart, PerformanceOptions options = {}) {
    return BuildPerformance(std::span(&part, 1), Chart(chart), options);
}

TEST(Performance, SendsEachChannelsSettingsFirstInControlListOrder) {
    const PlayPart part = ConvertedPart(TwoMeasurePattern(), PartKind::Fill);
    const Performance performance = Perform(part, "C");
    // Four channels play: each gets bank MSB, bank LSB, program, volume, pan, reverb.
    ASSERT_GE(performance.events.size(), 24u);
    std::map<int, std::vector<std::vector<std::uint8_t>>> settings;
    for (std::size_t i = 0; i < 24; ++i) {
        const TimedMessage& event = performance.events[i];
        EXPECT_EQ(event.tick, 0u);
        EXPECT_FALSE(event.IsNoteOn());
        const auto bytes = event.Bytes();
        settings[event.Channel()].emplace_back(bytes.begin() + 1, bytes.end());
    }
    using Bytes = std::vector<std::vector<std::uint8_t>>;
    EXPECT_EQ(settings[12], (Bytes{{0, 0}, {32, 0}, {33}, {7, 90}, {10, 64}, {91, 40}}));
    // Channel 10's program is stored with bit 7 set; the synthesizer gets kit 0.
    EXPECT_EQ(settings[10], (Bytes{{0, 0}, {32, 0}, {0}, {7, 100}, {10, 64}, {91, 64}}));
    EXPECT_EQ(settings.size(), 4u);
}

TEST(Performance, DrumsAndPercussionNeverMove) {
    const PlayPart part = ConvertedPart(TwoMeasurePattern(), PartKind::Fill);
    const Performance performance = Perform(part, "Ebm | F#7 | Bbdim7 | Caug");
    ASSERT_EQ(performance.measures.size(), 4u);
    for (const auto& note : NoteOns(performance, 10))
        EXPECT_EQ(note.bytes[1], 36);
    for (const auto& note : NoteOns(performance, 11))
        EXPECT_EQ(note.bytes[1], 70);
    EXPECT_EQ(NoteOns(performance, 10).size(), 16u);
    EXPECT_EQ(NoteOns(performance, 11).size(), 4u);
}

TEST(Performance, BassAndChordPartsFollowEachMeasuresChord) {
    const PlayPart part = ConvertedPart(TwoMeasurePattern(), PartKind::Fill);
    const Performance performance = Perform(part, "C | Am | F | G7");
    ASSERT_EQ(performance.measures.size(), 4u);
    // The bass plays the root then the fifth of each chord.
    EXPECT_EQ(PitchClassesIn(performance, 12, 0), (std::set<int>{0, 7}));
    EXPECT_EQ(PitchClassesIn(performance, 12, 1), (std::set<int>{9, 4}));
    EXPECT_EQ(PitchClassesIn(performance, 12, 2), (std::set<int>{5, 0}));
    EXPECT_EQ(PitchClassesIn(performance, 12, 3), (std::set<int>{7, 2}));
    // The chord part sounds tones of each chord only: over C, Am and F the seventh that the
    // triad lacks goes to a chord tone; over G7 the third, fifth and seventh: B D F.
    const std::vector<std::set<int>> chordTones = {{0, 4, 7}, {9, 0, 4}, {5, 9, 0}, {7, 11, 2, 5}};
    for (std::size_t measure = 0; measure < 4; ++measure) {
        const std::set<int> played = PitchClassesIn(performance, 13, measure);
        EXPECT_FALSE(played.empty());
        for (int pitchClass : played)
            EXPECT_TRUE(chordTones[measure].count(pitchClass)) << "measure " << measure + 1;
    }
    // C is a plain triad: the written seventh B goes to its nearest chord tone, C.
    EXPECT_EQ(PitchClassesIn(performance, 13, 0), (std::set<int>{0, 4, 7}));
    EXPECT_EQ(PitchClassesIn(performance, 13, 3), (std::set<int>{11, 2, 5}));
    // Notes stay near where they were written.
    for (const auto& note : NoteOns(performance, 13)) {
        EXPECT_GE(note.bytes[1], 64 - 6);
        EXPECT_LE(note.bytes[1], 71 + 6);
    }
}

TEST(Performance, EveryNoteIsReleasedOnTheKeyItWasMovedTo) {
    const PlayPart part = ConvertedPart(TwoMeasurePattern(), PartKind::Fill);
    const Performance performance = Perform(part, "C | Am7 | Dm7b5 | G7sus4", {std::nullopt, 3});
    std::map<std::pair<int, int>, int> held;
    for (const auto& event : performance.events) {
        auto& count = held[{event.Channel(), event.bytes[1]}];
        if (event.IsNoteOn()) {
            ++count;
        } else if (event.IsNoteOff()) {
            EXPECT_GT(count, 0) << "a release of a key not struck, tick " << event.tick;
            count = 0;
        }
        EXPECT_LE(event.tick, performance.endTick);
    }
    for (const auto& [key, count] : held)
        EXPECT_EQ(count, 0) << "channel " << key.first << " key " << key.second << " left sounding";
}

TEST(Performance, FillLoopsOverTheChartAndRepeatsItself) {
    const PlayPart part = ConvertedPart(TwoMeasurePattern(), PartKind::Fill);
    const Performance once = Perform(part, "C | Am | F | G7");
    const Performance twice = Perform(part, "C | Am | F | G7", {std::nullopt, 2});
    ASSERT_EQ(twice.measures.size(), 8u);
    EXPECT_EQ(twice.endTick, 8u * 768);
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(twice.measures[k].chartIndex, k % 4);
        EXPECT_EQ(twice.measures[k].partMeasure, k % 2);
        EXPECT_EQ(twice.measures[k].startTick, k * 768);
    }
    // The second pass sounds exactly like the first, four measures later.
    std::vector<TimedMessage> first, second;
    for (const auto& event : twice.events) {
        if (event.tick == 0 && !event.IsNoteOn())
            continue;  // the settings
        const bool firstPass = event.tick < 4 * 768 || (event.tick == 4 * 768 && event.IsNoteOff());
        (firstPass ? first : second).push_back(event);
    }
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(second[i].tick, first[i].tick + 4 * 768);
        EXPECT_EQ(second[i].bytes, first[i].bytes);
    }
    EXPECT_EQ(NoteOns(once, 12).size() * 2, NoteOns(twice, 12).size());
}

TEST(Performance, ShortChartRepeatsUnderALongerPattern) {
    const PlayPart part = ConvertedPart(TwoMeasurePattern(), PartKind::Fill);
    const Performance performance = Perform(part, "Dm | %");
    ASSERT_EQ(performance.measures.size(), 2u);
    EXPECT_EQ(PitchClassesIn(performance, 12, 1), (std::set<int>{2, 9}));
    const Performance alone = BuildPerformance(std::span(&part, 1), music::ChordChart{}, {});
    ASSERT_EQ(alone.measures.size(), 2u);
    EXPECT_EQ(alone.measures[0].chord, music::kSourceChord);
    EXPECT_EQ(PitchClassesIn(alone, 12, 0), (std::set<int>{0, 7}));
}

TEST(Performance, IntroPlaysOnceMovedAsAWholeIntoTheFirstChordsKey) {
    const PlayPart part = ConvertedPart(TwoMeasurePattern(), PartKind::Intro);
    const Performance performance = Perform(part, "D | G | A", {std::nullopt, 5});
    ASSERT_EQ(performance.measures.size(), 2u);
    for (const auto& measure : performance.measures)
        EXPECT_EQ(ChordName(measure.chord), "D");
    EXPECT_EQ(PitchClassesIn(performance, 12, 0), (std::set<int>{2, 9}));
    EXPECT_EQ(PitchClassesIn(performance, 12, 1), (std::set<int>{2, 9}));
    // The held chord E G B moves up a whole tone to F# A C#.
    EXPECT_EQ(PitchClassesIn(performance, 13, 0), (std::set<int>{6, 9, 1}));
    for (const auto& note : NoteOns(performance, 10))
        EXPECT_EQ(note.bytes[1], 36);
}

TEST(Performance, EndingOnAMinorChordLowersTheThird) {
    const PlayPart part = ConvertedPart(TwoMeasurePattern(), PartKind::Ending);
    const Performance performance = Perform(part, "Am | F");
    ASSERT_EQ(performance.measures.size(), 2u);
    // E (third) G (fifth) B (seventh) of C major become C, E and G of A minor's natural scale.
    EXPECT_EQ(PitchClassesIn(performance, 13, 0), (std::set<int>{0, 4, 7}));
}

TEST(Performance, TempoIsThePartsOwnUnlessGiven) {
    const PlayPart part = ConvertedPart(TwoMeasurePattern(400000), PartKind::Fill);
    const Performance own = Perform(part, "C");
    EXPECT_EQ(own.measures[0].bpm, 150.0);
    EXPECT_DOUBLE_EQ(own.DurationSeconds(), 2 * 4 * 60.0 / 150.0);
    const Performance slow = Perform(part, "C", {60.0, 1});
    EXPECT_DOUBLE_EQ(slow.SecondsAt(768), 4.0);
    EXPECT_DOUBLE_EQ(slow.DurationSeconds(), 8.0);
    EXPECT_EQ(slow.MeasureAt(767), 0u);
    EXPECT_EQ(slow.MeasureAt(768), 1u);
    EXPECT_EQ(slow.MeasureAt(1536), 2u);
}

TEST(Performance, PartsFollowOneAnotherEachWithItsSettingsAndTempo) {
    const std::vector<PlayPart> parts = {
        ConvertedPart(TwoMeasurePattern(500000), PartKind::Intro, "intro.mid"),
        ConvertedPart(TwoMeasurePattern(400000), PartKind::Fill, "fill.mid"),
        ConvertedPart(TwoMeasurePattern(500000), PartKind::Ending, "ending.mid")};
    const Performance performance = BuildPerformance(parts, Chart("F | C"), {});
    ASSERT_EQ(performance.measures.size(), 6u);
    EXPECT_EQ(performance.measures[0].part, "intro");
    EXPECT_EQ(performance.measures[2].part, "fill");
    EXPECT_EQ(performance.measures[3].chord, music::ParseChord("C"));
    EXPECT_EQ(performance.measures[4].part, "ending");
    EXPECT_EQ(performance.measures[2].bpm, 150.0);
    EXPECT_DOUBLE_EQ(performance.measures[2].startSeconds, 4.0);
    const auto programAt = [&](std::uint32_t tick) {
        return std::count_if(
            performance.events.begin(), performance.events.end(),
            [&](const TimedMessage& e) { return e.tick == tick && (e.bytes[0] & 0xF0) == 0xC0; });
    };
    EXPECT_EQ(programAt(0), 4);
    EXPECT_EQ(programAt(2 * 768), 4);
    EXPECT_EQ(programAt(4 * 768), 4);
}

TEST(Performance, MeasureTicksFollowTheTimeSignature) {
    EXPECT_EQ(MeasureTicks(0x24), 768u);
    EXPECT_EQ(MeasureTicks(0x23), 576u);
    EXPECT_EQ(MeasureTicks(0x36), 576u);
    EXPECT_EQ(MeasureTicks(0x00), 768u);  // a broken entry still gives measures of some length
}

}  // namespace
}  // namespace vantrel::play
