#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "PatternFixtures.h"
#include "pattern/ControlListEntry.h"
#include "pattern/PatternDecoder.h"
#include "pattern/PatternToMidi.h"

namespace vantrel {
namespace {

using test::Conversion;
using test::Hex;
using ::testing::HasSubstr;

const std::vector<std::uint8_t> kBassData =
    Hex("FF FF 00 00 00 00 10 00 00 00 00 00 00 00 00 00"
        "00 9B 24 64 60 60 8B 24 40 60 9B 24 64 81 40 81 40 8B 24 40 00 FF");

TEST(PatternDecoder, ReadsEventsWithRunningStatusAndNoteLengths) {
    const auto result = DecodePatternData(kBassData);
    ASSERT_TRUE(result.pattern) << result.error;
    EXPECT_EQ(result.pattern->ChannelMask(), 0x04);
    ASSERT_EQ(result.pattern->channels.size(), 1u);
    const auto& channel = result.pattern->channels[0];
    EXPECT_EQ(channel.channel, 12);
    ASSERT_EQ(channel.events.size(), 5u);
    EXPECT_EQ(channel.events[2].time, 192u);
    EXPECT_EQ(channel.events[2].noteLength, 192u);
    EXPECT_TRUE(channel.events[2].statusWritten);
    EXPECT_EQ(channel.events[4].status, 0xFF);
    EXPECT_EQ(channel.events[4].time, 384u);
}

TEST(PatternDecoder, RefusesMalformedDataWithAReason) {
    auto broken = [](std::vector<std::uint8_t> data) { return DecodePatternData(data).error; };
    EXPECT_THAT(broken(Hex("FF FF 00")), HasSubstr("16-byte header"));
    EXPECT_THAT(broken(Hex("FE FF 00 00")), HasSubstr("FF FF"));
    auto truncated = kBassData;
    truncated.resize(30);
    EXPECT_THAT(broken(truncated), HasSubstr("channel 12"));
    auto wrongOffset = kBassData;
    wrongOffset[6] = 0x12;
    EXPECT_THAT(broken(wrongOffset), HasSubstr("where the previous channel ended"));
    auto stray = kBassData;
    stray.insert(stray.end(), {0x00, 0x00});
    EXPECT_THAT(broken(stray), HasSubstr("stray"));
    // An offset pointing inside the data, past its end, or a first event without status.
    EXPECT_FALSE(broken(Hex("FF FF 00 00 00 00 FF FF 00 00 00 00 00 00 00 00")).empty());
    EXPECT_THAT(broken(Hex("FF FF 10 00 00 00 00 00 00 00 00 00 00 00 00 00 00 24 64 00")),
                HasSubstr("without a status"));
    EXPECT_THAT(broken(Hex("FF FF 10 00 00 00 00 00 00 00 00 00 00 00 00 00 81 81 81 00 FF 00")),
                HasSubstr("longer than 3"));
}

TEST(ControlListEntry, DecodesWhatItEncodes) {
    PatternHeader header = PatternHeader::Initial();
    header.index = 3;
    header.timeSignature = 0x36;
    header.kind = 2;
    header.channelMask = 0x55;
    header.tempo = 0x1234;
    header.measures = 0x0102;
    header.ports = {1, 2, 3, 4, 5, 6, 7};
    header.blocks[6].bankLsb = 9;
    const auto bytes = EncodeControlListEntry(header, 0x0426);
    EXPECT_EQ(bytes[12], 0x34);
    EXPECT_EQ(bytes[80], 0x26);
    const auto entry = DecodeControlListEntry(bytes);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->header, header);
    EXPECT_EQ(entry->dataSize, 0x0426);
    EXPECT_FALSE(DecodeControlListEntry(std::span(bytes).first(81)));
}

using Note = std::tuple<int, std::uint32_t, std::uint32_t, int>;  // key, time, length, velocity

std::vector<Note> NotesOf(const DecodedPattern& pattern, int channel) {
    std::vector<Note> notes;
    for (const auto& c : pattern.channels) {
        if (c.channel != channel)
            continue;
        for (const auto& e : c.events) {
            if (e.IsSoundingNoteOn())
                notes.emplace_back(e.data1, e.time, e.noteLength, e.data2);
        }
    }
    return notes;
}

TEST(PatternRoundTrip, DecodedPatternConvertsBackToTheSameNotesAndSettings) {
    SmfWriter source(1, 192);
    SmfTrack& conductor = source.AddTrack().Tempo(0, 400000).TimeSignature(0, 3, 2);
    conductor.Text(0, 0x06, "qz4wp").EndOfTrack(1152);
    std::vector<Note> drums, bass;
    // Tracks are filled one after the other: AddTrack may move the earlier ones.
    SmfTrack& drum = source.AddTrack().Channel(0, 0xB0, 10, 7, 110).Channel(0, 0xB0, 10, 10, 40);
    for (std::uint32_t beat = 0; beat < 6; ++beat) {
        const auto velocity = static_cast<std::uint8_t>(80 + beat * 5);
        drum.Note(beat * 192, 10, beat % 2 ? 38 : 36, velocity, 48);
        drums.emplace_back(beat % 2 ? 38 : 36, beat * 192, 48, velocity);
    }
    drum.EndOfTrack(1152);
    SmfTrack& bassTrack = source.AddTrack().Channel(0, 0xC0, 12, 33).Channel(0, 0xB0, 12, 91, 20);
    for (std::uint32_t beat = 0; beat < 6; ++beat) {
        bassTrack.Note(beat * 192 + 96, 12, static_cast<std::uint8_t>(40 + beat), 90, 90);
        bass.emplace_back(40 + beat, beat * 192 + 96, 90, 90);
    }
    bassTrack.EndOfTrack(1152);

    Conversion first(source);
    ASSERT_TRUE(first.Errors().empty()) << first.Errors().front();
    const auto entry = DecodeControlListEntry(first.products.controlList);
    const auto pattern = DecodePatternData(first.products.patternData);
    ASSERT_TRUE(entry && pattern.pattern) << pattern.error;
    EXPECT_EQ(NotesOf(*pattern.pattern, 10), drums);
    EXPECT_EQ(NotesOf(*pattern.pattern, 12), bass);

    Conversion second(PatternToMidi(*entry, *pattern.pattern));
    ASSERT_TRUE(second.Errors().empty());
    EXPECT_EQ(second.products.patternData, first.products.patternData);
    EXPECT_EQ(second.products.controlList, first.products.controlList);
}

}  // namespace
}  // namespace vantrel
