#include <gtest/gtest.h>

#include "KeyboardTestSupport.h"
#include "TestFiles.h"
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

}  // namespace
}  // namespace vantrel
