#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "PatternFixtures.h"
#include "pattern/ControlListEntry.h"
#include "pattern/PatternDecoder.h"
#include "pattern/PatternRecord.h"

namespace vantrel {
namespace {

using test::Conversion;
using test::Hex;
using test::PatternFile;

std::vector<std::uint8_t> Quantity(std::uint32_t value) {
    const auto bytes = ReversedQuantity(value);
    return {bytes.begin(), bytes.end()};
}

TEST(PatternRecords, ReversedQuantityHoldsGroupsLeastSignificantFirst) {
    EXPECT_EQ(Quantity(0), Hex("00 00 00 00"));
    EXPECT_EQ(Quantity(96), Hex("60 00 00 00"));
    EXPECT_EQ(Quantity(127), Hex("7F 00 00 00"));
    EXPECT_EQ(Quantity(192), Hex("40 81 00 00"));
    EXPECT_EQ(Quantity(200), Hex("48 81 00 00"));
    EXPECT_EQ(Quantity(16384), Hex("00 80 81 00"));
    EXPECT_EQ(Quantity(0x0FFFFFFF), Hex("7F FF FF FF"));
}

// The decoded events of the only channel of a passing conversion.
std::vector<PatternEvent> EventsOf(const Conversion& c) {
    const auto decoded = DecodePatternData(c.products.patternData);
    EXPECT_TRUE(decoded.pattern) << decoded.error;
    if (!decoded.pattern || decoded.pattern->channels.size() != 1)
        return {};
    return decoded.pattern->channels[0].events;
}

ChannelBlock BlockOf(const Conversion& c, int channel) {
    const auto entry = DecodeControlListEntry(c.products.controlList);
    return entry->header.blocks[static_cast<std::size_t>(PatternSlotOfChannel(channel))];
}

TEST(PatternTracks, DeltasAndNoteLengthsFollowTheNotes) {
    SmfWriter writer = PatternFile();
    writer.AddTrack().Note(0, 12, 36, 100, 96).Note(192, 12, 36, 100, 192).EndOfTrack(384);
    Conversion c(writer);
    ASSERT_TRUE(c.Errors().empty());
    const auto events = EventsOf(c);
    ASSERT_EQ(events.size(), 5u);
    const std::vector<std::uint32_t> deltas{events[0].delta, events[1].delta, events[2].delta,
                                            events[3].delta, events[4].delta};
    EXPECT_EQ(deltas, (std::vector<std::uint32_t>{0, 96, 96, 192, 0}));
    EXPECT_EQ(events[0].noteLength, 96u);
    EXPECT_EQ(events[2].noteLength, 192u);
}

TEST(PatternTracks, SettingsComeFromTheirFirstOccurrenceInTheTrack) {
    SmfWriter writer = PatternFile();
    writer.AddTrack()
        .Channel(0, 0xC0, 10, 0)
        .Channel(0, 0xC0, 10, 9)  // a second program change is ignored
        .Channel(0, 0xB0, 10, 7, 90)
        .Channel(0, 0xB0, 10, 91, 30)
        .Channel(0, 0xB0, 10, 0, 8)
        .Channel(0, 0xB0, 10, 32, 3)
        .Meta(0, 0x21, {2})
        .Note(0, 10, 36, 100, 96)
        .EndOfTrack(96);
    writer.AddTrack().Channel(0, 0xC0, 12, 5).Note(0, 12, 36, 100, 96).EndOfTrack(96);
    writer.AddTrack().Channel(0, 0xC0, 11, 5).Note(0, 11, 36, 100, 96).EndOfTrack(96);
    Conversion c(writer);
    ASSERT_TRUE(c.Errors().empty());
    EXPECT_EQ(BlockOf(c, 10), (ChannelBlock{0x80, 90, 8, 30, 9, 0, 8, 3}));
    EXPECT_EQ(BlockOf(c, 12).program, 0x05);
    EXPECT_EQ(BlockOf(c, 11).program, 0x85);
    EXPECT_EQ(DecodeControlListEntry(c.products.controlList)->header.ports[0], 2);
    // Settings are not events: channel 10 holds the note on, note off and End of Track only.
    const auto decoded = DecodePatternData(c.products.patternData);
    EXPECT_EQ(decoded.pattern->channels[0].events.size(), 3u);
}

TEST(PatternTracks, PanValuesBecomeSeventeenLevels) {
    const std::vector<std::pair<int, int>> cases{{0, 0},  {7, 0},    {8, 1},
                                                 {64, 8}, {126, 15}, {127, 16}};
    for (const auto& [value, level] : cases) {
        SmfWriter writer = PatternFile();
        writer.AddTrack()
            .Channel(0, 0xB0, 13, 10, static_cast<std::uint8_t>(value))
            .Note(0, 13, 60, 100, 96)
            .EndOfTrack(96);
        Conversion c(writer);
        EXPECT_EQ(BlockOf(c, 13).pan, level) << value;
    }
}

TEST(PatternTracks, OnlyTheKeyboardsControllersAreRecorded) {
    SmfWriter writer = PatternFile();
    writer.AddTrack()
        .Channel(0, 0xB0, 10, 4, 20)    // foot controller: drum channel only
        .Channel(0, 0xB0, 10, 64, 127)  // sustain: any channel
        .Channel(0, 0xB0, 10, 2, 5)     // breath: never
        .Raw(0, Hex("A9 24 7F"))        // drum pressure at 127 only
        .Raw(0, Hex("A9 24 7E"))
        .Raw(0, Hex("D9 40"))
        .Raw(0, Hex("E9 00 40"))
        .EndOfTrack(0);
    writer.AddTrack().Channel(0, 0xB0, 11, 4, 20).Channel(0, 0xB0, 11, 1, 9).EndOfTrack(0);
    Conversion c(writer);
    ASSERT_TRUE(c.Errors().empty());
    const auto decoded = DecodePatternData(c.products.patternData);
    ASSERT_TRUE(decoded.pattern);
    std::vector<std::pair<int, int>> drum;
    for (const auto& e : decoded.pattern->channels[0].events)
        drum.push_back({e.status, e.data1});
    EXPECT_EQ(drum, (std::vector<std::pair<int, int>>{
                        {0xB9, 4}, {0xB9, 64}, {0xA9, 0x24}, {0xE9, 0}, {0xFF, 0}}));
    std::vector<std::pair<int, int>> percussion;
    for (const auto& e : decoded.pattern->channels[1].events) {
        percussion.push_back({e.status, e.data1});
    }
    EXPECT_EQ(percussion, (std::vector<std::pair<int, int>>{{0xBA, 1}, {0xFF, 0}}));
}

TEST(PatternTracks, VelocityZeroClosesANoteAndRepeatedNoteOnsWaitForTheSameClose) {
    SmfWriter writer = PatternFile();
    writer.AddTrack()
        .Raw(0, Hex("9C 30 64"))
        .Raw(48, Hex("9C 30 50"))  // repeated key: both close at 144
        .Raw(144, Hex("9C 30 00"))
        .EndOfTrack(144);
    Conversion c(writer);
    ASSERT_TRUE(c.Errors().empty());
    const auto events = EventsOf(c);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].noteLength, 144u);
    EXPECT_EQ(events[1].noteLength, 96u);
    EXPECT_EQ(events[2].noteLength, 0u);
    EXPECT_FALSE(events[1].statusWritten);
    EXPECT_FALSE(events[2].statusWritten);
}

TEST(PatternTracks, SettingsDoNotMoveThePreviousTime) {
    SmfWriter writer = PatternFile();
    writer.AddTrack()
        .Note(0, 14, 60, 100, 10)
        .Channel(50, 0xB0, 14, 7, 80)
        .Note(100, 14, 62, 100, 10)
        .EndOfTrack(110);
    Conversion c(writer);
    const auto events = EventsOf(c);
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[2].delta, 90u);
    EXPECT_EQ(events[2].time, 100u);
}

}  // namespace
}  // namespace vantrel
