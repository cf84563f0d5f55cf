#include <gtest/gtest.h>

#include "KeyboardTestSupport.h"
#include "TestFiles.h"
#include "device/SysExProtocol.h"
#include "keyboard/PacketJoiner.h"

namespace vantrel {
namespace {

using test::Hex;
using Result = PacketJoiner::Result;

const std::vector<std::uint8_t> kFrameStart = Hex("F0 00 21 3D 55 52 53 57");

// A frame-shaped message of n bytes: frame start, data bytes counting up, F7h.
std::vector<std::uint8_t> MessageOf(std::size_t n) {
    std::vector<std::uint8_t> message = kFrameStart;
    while (message.size() + 1 < n)
        message.push_back(static_cast<std::uint8_t>(message.size() & 0x7F));
    message.push_back(0xF7);
    return message;
}

// Joins every packet; the message when the last packet completes it.
std::vector<std::uint8_t> Join(PacketJoiner& joiner,
                               const std::vector<std::vector<std::uint8_t>>& packets) {
    for (std::size_t i = 0; i < packets.size(); ++i) {
        const Result result = joiner.Add(packets[i]);
        const bool last = i + 1 == packets.size();
        EXPECT_EQ(result, last ? Result::Message : Result::Piece) << "packet " << i;
    }
    return joiner.Message();
}

TEST(PacketJoiner, EveryLengthAroundThePacketSizeComesBackWhole) {
    PacketJoiner joiner(kFrameStart, 100000);
    for (std::size_t n : {12u, 14u, 32u, 45u, 46u, 47u, 48u, 49u, 92u, 93u, 94u, 4108u}) {
        const auto message = MessageOf(n);
        const auto packets = test::Packets(message);
        EXPECT_EQ(Join(joiner, packets), message) << n << " bytes";
        EXPECT_FALSE(joiner.Partial());
    }
    // The wire forms the rule makes of the awkward lengths.
    EXPECT_EQ(test::Packets(MessageOf(47)).size(), 1u);            // 47 bytes + an extra F7h
    EXPECT_EQ(test::Packets(MessageOf(48)).back(), Hex("F0 F7"));  // the end alone
    EXPECT_EQ(test::Packets(MessageOf(4108)).size(), 90u);
}

TEST(PacketJoiner, ANewMessageDiscardsTheOneLeftBehind) {
    PacketJoiner joiner(kFrameStart, 100000);
    const auto abandoned = test::Packets(MessageOf(200));
    EXPECT_EQ(joiner.Add(abandoned[0]), Result::Piece);
    EXPECT_EQ(joiner.Add(abandoned[1]), Result::Piece);
    const auto next = MessageOf(14);
    EXPECT_EQ(joiner.Add(next), Result::Message);
    EXPECT_EQ(joiner.Message(), next);
    // The rest of the abandoned message has nothing to continue.
    EXPECT_EQ(joiner.Add(abandoned[2]), Result::Dropped);
    EXPECT_EQ(joiner.Add(abandoned.back()), Result::Dropped);
}

TEST(PacketJoiner, WhatIsNotAPacketOfTheProtocolIsDropped) {
    PacketJoiner joiner(kFrameStart, 100);
    EXPECT_EQ(joiner.Add({}), Result::Dropped);
    EXPECT_EQ(joiner.Add(Hex("90 3C 40")), Result::Dropped);
    EXPECT_EQ(joiner.Add(Hex("F0 00 21 3D 55")), Result::Dropped);     // no end
    EXPECT_EQ(joiner.Add(Hex("F0 43 10 4C 00 F7")), Result::Dropped);  // another maker
    EXPECT_EQ(joiner.Add(std::vector<std::uint8_t>(49, 0x10)), Result::Dropped);
    EXPECT_EQ(joiner.Add(Hex("F0 00 21 3D 55 52 53 57 FF 00 00 00 F7")), Result::Dropped);
    EXPECT_EQ(joiner.Add(Hex("F0 00 21 3D 55 52 53 57 00 F0 00 00 F7")), Result::Dropped);
    // Longer than allowed: dropped whole, and its continuation finds nothing to join.
    const auto packets = test::Packets(MessageOf(200));
    EXPECT_EQ(joiner.Add(packets[0]), Result::Piece);
    EXPECT_EQ(joiner.Add(packets[1]), Result::Piece);
    EXPECT_EQ(joiner.Add(packets[2]), Result::Dropped);
    EXPECT_FALSE(joiner.Partial());
    EXPECT_EQ(joiner.Add(packets[3]), Result::Dropped);
}

TEST(PacketJoiner, ByLengthEveryEvenLengthComesBackWhole) {
    // The protocol's messages all have even lengths, so their last packet is always short.
    PacketJoiner joiner(kFrameStart, 100000, JoinRule::ByLength);
    for (std::size_t n : {12u, 14u, 32u, 46u, 48u, 92u, 94u, 140u, 4108u}) {
        const auto message = MessageOf(n);
        EXPECT_EQ(Join(joiner, test::Packets(message)), message) << n << " bytes";
        EXPECT_FALSE(joiner.Partial());
    }
}

TEST(PacketJoiner, ByLengthACutMessageSwallowsTheNextOne) {
    PacketJoiner joiner(kFrameStart, 100000, JoinRule::ByLength);
    const auto cut = test::Packets(MessageOf(200));
    EXPECT_EQ(joiner.Add(cut[0]), Result::Piece);
    EXPECT_EQ(joiner.Add(cut[1]), Result::Piece);
    // A full packet continues whatever it holds, even the opening of a new message.
    const auto next = test::Packets(MessageOf(140));
    EXPECT_EQ(joiner.Add(next[0]), Result::Piece);
    EXPECT_EQ(joiner.Add(MessageOf(14)), Result::Message);
    EXPECT_EQ(joiner.Message().size(), 47u + 46 + 46 + 13);
    EXPECT_FALSE(joiner.Partial());
}

TEST(PacketJoiner, TheClosingPacketEndsACutMessageUnderBothRulesAsADamagedOne) {
    for (const JoinRule rule : {JoinRule::ByFrameStart, JoinRule::ByLength}) {
        PacketJoiner joiner(kFrameStart, 100000, rule);
        const auto message = MessageOf(4108);
        const auto packets = test::Packets(message);
        std::vector<std::uint8_t> sent;
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(joiner.Add(packets[i]), Result::Piece);
            sent.insert(sent.end(), packets[i].begin() + (i == 0 ? 0 : 1), packets[i].end() - 1);
        }
        const auto closing = sysex::MakeClosingPacket(sent);
        EXPECT_LT(closing.size(), PacketJoiner::kPacketSize);
        ASSERT_EQ(joiner.Add(closing), Result::Message);
        const auto joined = joiner.Message();
        EXPECT_EQ(joined.size(), sent.size() + 4);
        EXPECT_TRUE(std::equal(sent.begin(), sent.end(), joined.begin()));
        const auto frame = sysex::ParseFrame(joined);
        ASSERT_TRUE(frame);
        EXPECT_NE(frame->carriedChecksum, frame->frameChecksum);
        EXPECT_EQ(frame->payload.size() % 2, 1u);
        EXPECT_EQ(sysex::CheckMessage(joined), sysex::CheckResult::BadChecksum);
        // The next message stands on its own again.
        EXPECT_EQ(joiner.Add(MessageOf(14)), Result::Message);
        EXPECT_EQ(joiner.Message(), MessageOf(14));
    }
}

}  // namespace
}  // namespace vantrel
