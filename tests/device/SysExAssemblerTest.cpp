#include <gtest/gtest.h>

#include "TestFiles.h"
#include "device/SysExAssembler.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::Hex;

struct Collector {
    std::vector<Bytes> messages;
    SysExAssembler::Sink Sink() {
        return [this](std::span<const std::uint8_t> message) {
            messages.emplace_back(message.begin(), message.end());
        };
    }
};

Bytes LongMessage(std::size_t size) {
    Bytes message(size, 0x11);
    message.front() = 0xF0;
    message.back() = 0xF7;
    return message;
}

TEST(SysExAssembly, AMessageSplitAtAnyOffsetArrivesOnceAndWhole) {
    const Bytes message = Hex("F0 00 21 3D 55 52 53 57 12 01 00 0A 00 F7");
    for (std::size_t cut = 0; cut <= message.size(); ++cut) {
        SysExAssembler assembler;
        Collector collector;
        assembler.Feed(std::span(message).first(cut), collector.Sink());
        assembler.Feed(std::span(message).subspan(cut), collector.Sink());
        ASSERT_EQ(collector.messages.size(), 1u) << cut;
        EXPECT_EQ(collector.messages[0], message);
        EXPECT_EQ(assembler.Length(), 0u);
    }
}

TEST(SysExAssembly, SeparatesMessagesAndSkipsWhatIsNotSysEx) {
    SysExAssembler assembler;
    Collector collector;
    // noise, a message with a clock byte inside, a note cut by a status byte, a second message
    assembler.Feed(Hex("90 3C 40 F0 01 F8 02 F7 F0 05 90 F7 F0 03 F7"), collector.Sink());
    ASSERT_EQ(collector.messages.size(), 2u);
    EXPECT_EQ(collector.messages[0], Hex("F0 01 02 F7"));
    EXPECT_EQ(collector.messages[1], Hex("F0 03 F7"));
}

TEST(SysExAssembly, ATooLongMessageIsDroppedAndTheNextOneArrivesIntact) {
    SysExAssembler assembler;
    Collector collector;
    const Bytes tooLong = LongMessage(SysExAssembler::kCapacity);
    const Bytes next = Hex("F0 7E 01 F7");
    // Split like input buffers: the first parts fill the buffer, the rest follows.
    assembler.Feed(std::span(tooLong).first(1500), collector.Sink());
    assembler.Feed(std::span(tooLong).subspan(1500), collector.Sink());
    assembler.Feed(next, collector.Sink());
    ASSERT_EQ(collector.messages.size(), 1u);
    EXPECT_EQ(collector.messages[0], next);

    const Bytes longest = LongMessage(SysExAssembler::kCapacity - 1);
    assembler.Feed(longest, collector.Sink());
    ASSERT_EQ(collector.messages.size(), 2u);
    EXPECT_EQ(collector.messages[1], longest);
}

TEST(SysExAssembly, AnUnfinishedMessageGivesWayToTheNextStart) {
    SysExAssembler assembler;
    Collector collector;
    assembler.Feed(Hex("F0 01 02"), collector.Sink());
    assembler.Feed(Hex("F0 03 F7"), collector.Sink());
    ASSERT_EQ(collector.messages.size(), 1u);
    EXPECT_EQ(collector.messages[0], Hex("F0 03 F7"));
}

}  // namespace
}  // namespace vantrel
