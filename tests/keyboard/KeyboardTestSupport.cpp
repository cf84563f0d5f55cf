#include "KeyboardTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ScriptedPrompt.h"
#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "midi/SmfWriter.h"
#include "pattern/PatternCheck.h"
#include "pattern/StyleImage.h"

namespace vantrel::test {

std::vector<std::vector<std::uint8_t>> RecordingOutput::Replies() const {
    std::vector<std::vector<std::uint8_t>> replies;
    for (const Sent& sent : All()) {
        if (!sysex::IsAcknowledge(sent.message))
            replies.push_back(sent.message);
    }
    return replies;
}

std::size_t RecordingOutput::Acknowledges() const {
    const auto all = All();
    return static_cast<std::size_t>(std::count_if(all.begin(), all.end(), [](const Sent& sent) {
        return sysex::IsAcknowledge(sent.message);
    }));
}

std::vector<std::vector<std::uint8_t>> Packets(std::span<const std::uint8_t> message) {
    constexpr std::size_t kFirst = 47;
    constexpr std::size_t kNext = 46;
    std::vector<std::vector<std::uint8_t>> packets;
    if (message.size() < kFirst) {
        packets.emplace_back(message.begin(), message.end());
        return packets;
    }
    packets.emplace_back(message.begin(), message.begin() + kFirst);
    packets.back().push_back(sysex::kSysExEnd);
    for (std::size_t offset = kFirst; offset < message.size(); offset += kNext) {
        const auto piece = message.subspan(offset, std::min(kNext, message.size() - offset));
        std::vector<std::uint8_t> packet{sysex::kSysExStart};
        packet.insert(packet.end(), piece.begin(), piece.end());
        if (piece.back() != sysex::kSysExEnd)
            packet.push_back(sysex::kSysExEnd);
        packets.push_back(std::move(packet));
    }
    return packets;
}

void Feed(VirtualKeyboard& keyboard, std::span<const std::uint8_t> message) {
    for (const auto& packet : Packets(message))
        keyboard.OnPacket(packet);
}

std::vector<std::uint8_t> ReplyRecord(std::span<const std::uint8_t> reply) {
    const auto frame = sysex::ParseFrame(reply);
    return frame ? sysex::Unpack(frame->payload) : std::vector<std::uint8_t>{};
}

std::uint8_t ReplyCommand(std::span<const std::uint8_t> reply) {
    const auto frame = sysex::ParseFrame(reply);
    return frame ? frame->command : 0xFF;
}

namespace {

// Two bars at 120 BPM in 4/4: three notes a half note apart on one channel.
SmfWriter PatternFile(std::uint8_t channel, std::uint8_t firstKey, std::uint32_t length) {
    SmfWriter writer(1, 192);
    writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(768);
    writer.AddTrack()
        .Note(0, channel, firstKey, 100, length)
        .Note(192, channel, static_cast<std::uint8_t>(firstKey + 2), 100, length)
        .Note(384, channel, static_cast<std::uint8_t>(firstKey + 7), 100, length)
        .EndOfTrack(768);
    return writer;
}

PatternProducts Convert(const SmfWriter& writer) {
    ScopedTempDir folder;
    ScriptedPrompt prompt;
    const auto path = folder.Path() / "part.mid";
    WriteBytes(path, writer.Encode());
    PatternProducts products = ConvertToProducts(path, prompt);
    EXPECT_TRUE(products.Passed()) << (products.errors.empty() ? "" : products.errors.front());
    return products;
}

std::vector<std::uint8_t> BuildImage() {
    const PatternProducts bassParts = Convert(PatternFile(12, 36, 96));
    const PatternProducts drumParts = Convert(PatternFile(10, 36, 48));
    StyleImageBuilder builder;
    EXPECT_TRUE(builder.Place(kIntroBlock, bassParts.controlList, bassParts.patternData));
    EXPECT_TRUE(builder.Place(kEndingBlock, drumParts.controlList, drumParts.patternData));
    EXPECT_TRUE(builder.Place(FillBlock(1), drumParts.controlList, drumParts.patternData));
    const auto written = builder.WrittenBytes();
    return {written.begin(), written.end()};
}

}  // namespace

const std::vector<std::uint8_t>& WellFormedImage() {
    static const std::vector<std::uint8_t> image = BuildImage();
    return image;
}

std::vector<std::uint8_t> MalformedImage() {
    std::vector<std::uint8_t> image = WellFormedImage();
    // Bytes 0x50-0x51 of a control list entry hold the size of the pattern data that follows.
    image[0x50] = 0xFF;
    image[0x51] = 0x7F;
    return image;
}

}  // namespace vantrel::test
