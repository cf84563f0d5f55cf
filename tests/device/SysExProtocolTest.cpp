#include <gtest/gtest.h>

#include <numeric>

#include "TestFiles.h"
#include "device/SysExProtocol.h"

namespace vantrel::sysex {
namespace {

using test::Hex;
using Bytes = std::vector<std::uint8_t>;

Bytes Frame(const std::string& commandAndPayload) {
    Bytes message(kPayloadOffset - 1, 0);
    const Bytes body = Hex(commandAndPayload);
    message.insert(message.end(), body.begin(), body.end());
    message.resize(message.size() + 3, 0);
    EXPECT_TRUE(FrameMessage(message));
    return message;
}

TEST(SysExFrame, ShortFormCarriesIdentifierSignatureAndFrameSum) {
    const Bytes message = MakeSlotListRequest();
    ASSERT_EQ(message.size(), 14u);
    const Bytes head = {0xF0,
                        kManufacturerId[0],
                        kManufacturerId[1],
                        kManufacturerId[2],
                        0x55,
                        0x52,
                        0x53,
                        0x57,
                        0x12,
                        0x01,
                        0x00};
    EXPECT_EQ(Bytes(message.begin(), message.begin() + 11), head);
    const std::uint8_t sum = Checksum(std::span(message).subspan(1, 10));
    EXPECT_EQ(message[11], sum & 0x7F);
    EXPECT_EQ(message[12], sum >> 7);
    EXPECT_EQ(message[13], 0xF7);
    EXPECT_EQ(CheckMessage(message), CheckResult::Ok);
}

TEST(SysExFrame, HeaderOfA2048ByteDownloadIsThe32BytePackedRecord) {
    const Bytes message = MakeFileHeaderMessage(7, 2048);
    ASSERT_EQ(message.size(), 32u);
    EXPECT_EQ(message[8], 0x13);
    EXPECT_EQ(Bytes(message.begin() + 9, message.begin() + 29),
              Hex("07 00 00 00 00 00 08 00 00 00 00 00 01 00 00 00 00 00 00 00"));
    const auto frame = ParseFrame(message);
    ASSERT_TRUE(frame);
    EXPECT_EQ(Unpack(frame->payload), Hex("07 00 00 08 00 00 01 00 00 00"));
    EXPECT_EQ(frame->carriedChecksum, frame->frameChecksum);  // the header carries the frame sum
    const auto record = ParseHeaderRecord(Unpack(frame->payload));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->slot, 7);
    EXPECT_EQ(record->size, 2048u);
    EXPECT_EQ(record->value, 1u);
}

TEST(SysExFrame, FileDataCarriesTheRawDataSumNotTheFrameSum) {
    Bytes data(2048);
    std::iota(data.begin(), data.end(), std::uint8_t{3});
    const Bytes message = MakeFileDataMessage(data);
    ASSERT_EQ(message.size(), 2 * 2048 + 12u);
    const auto frame = ParseFrame(message);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->carriedChecksum, Checksum(data));
    EXPECT_NE(frame->carriedChecksum, frame->frameChecksum);
    EXPECT_EQ(Unpack(frame->payload), data);
}

TEST(SysExFrame, PackedFormRoundTripsEveryByteValue) {
    Bytes record(256);
    std::iota(record.begin(), record.end(), std::uint8_t{0});
    Bytes packed;
    AppendPacked(packed, record);
    ASSERT_EQ(packed.size(), 512u);
    EXPECT_EQ(packed[2 * 0xC8], 0x48);
    EXPECT_EQ(packed[2 * 0xC8 + 1], 0x01);
    for (const std::uint8_t byte : packed)
        EXPECT_LT(byte, 0x80);
    EXPECT_EQ(Unpack(packed), record);
    packed.push_back(0x05);  // an odd trailing byte is not half a record byte
    EXPECT_EQ(Unpack(packed), record);
}

TEST(SysExFrame, SlotNumbersUseSevenBitsAndABit7Flag) {
    EXPECT_EQ(MakeDeleteRequest(200).value()[9], 0x48);
    EXPECT_EQ(MakeDeleteRequest(200).value()[10], 0x01);
    EXPECT_EQ(DecodeSlot(*EncodeSlot(255)), 255);
    EXPECT_EQ(DecodeSlot(*EncodeSlot(0)), 0);
    EXPECT_FALSE(EncodeSlot(256));
    EXPECT_FALSE(EncodeSlot(-1));
    EXPECT_FALSE(MakeDeleteRequest(256));
}

TEST(SysExCheck, RejectsWhatIsNotAFrameAndFlagsAWrongChecksum) {
    Bytes good = Frame("00 01 02");
    EXPECT_EQ(CheckMessage(good), CheckResult::Ok);

    Bytes wrongSum = good;
    wrongSum[wrongSum.size() - 3] ^= 0x01;
    EXPECT_EQ(CheckMessage(wrongSum), CheckResult::BadChecksum);

    Bytes otherMaker = good;
    otherMaker[2] ^= 0x01;
    EXPECT_EQ(CheckMessage(otherMaker), CheckResult::Malformed);

    Bytes noEnd = good;
    noEnd.back() = 0x00;
    EXPECT_EQ(CheckMessage(noEnd), CheckResult::Malformed);

    // Shorter than a frame: never read as a frame with a negative payload length.
    for (std::size_t n = 0; n < kFrameOverhead; ++n) {
        Bytes shortOne(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        if (n > 0)
            shortOne.back() = 0xF7;
        EXPECT_FALSE(ParseFrame(shortOne)) << n;
    }
    const Bytes emptyPayload = Frame("13");
    ASSERT_TRUE(ParseFrame(emptyPayload));
    EXPECT_TRUE(ParseFrame(emptyPayload)->payload.empty());
}

TEST(SysExCheck, AcknowledgeIsKnownByLengthAndCommandByteAlone) {
    const auto ack = AcknowledgeMessage();
    EXPECT_EQ(Bytes(ack.begin(), ack.end()),
              (Bytes{0xF0, kManufacturerId[0], kManufacturerId[1], kManufacturerId[2], 0x55, 0x52,
                     0x53, 0x57, 0x08, 0xF7}));
    EXPECT_TRUE(IsAcknowledge(Hex("11 22 33 44 55 66 77 01 08 7F")));
    EXPECT_FALSE(IsAcknowledge(Hex("F0 00 00 00 55 52 53 57 08 00 F7")));
    EXPECT_FALSE(IsAcknowledge(Hex("F0 00 00 00 55 52 53 57 09 F7")));
}

TEST(SysExRecords, NamesAreCutToTheBytesPresentAndTo99Bytes) {
    const std::string longName(150, 'x');
    auto parsed = ParseNamedRecord(MakeNamedRecord(0, 4, longName));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->index, 4);
    EXPECT_EQ(parsed->name, std::string(99, 'x'));

    parsed = ParseNamedRecord(Hex("00 02 09 41 42"));  // declares 9, holds 2
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->name, "AB");

    parsed = ParseNamedRecord(Hex("01"));  // an end mark may stop after its status
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->status, 1);
    EXPECT_TRUE(parsed->name.empty());

    EXPECT_FALSE(ParseNamedRecord({}));
    EXPECT_FALSE(ParseStatusRecord({}));
}

TEST(SysExRecords, HeaderRecordSkipsANameAndNeedsAllItsFields) {
    const auto withName = ParseHeaderRecord(Hex("03 02 41 42 10 00 00 00 01 00 00 00"));
    ASSERT_TRUE(withName);
    EXPECT_EQ(withName->size, 16u);
    EXPECT_FALSE(ParseHeaderRecord(Hex("03 00 10 00 00 00 01 00 00")));
    EXPECT_FALSE(ParseHeaderRecord(Hex("03 09 41")));
}

}  // namespace
}  // namespace vantrel::sysex
