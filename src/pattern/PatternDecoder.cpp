#include "pattern/PatternDecoder.h"

#include <cstdio>

#include "midi/ByteReader.h"
#include "pattern/PatternImage.h"

namespace vantrel {

namespace {

std::string At(const char* what, int channel, std::size_t offset) {
    char text[128];
    std::snprintf(text, sizeof text, "channel %d: %s at offset %zu", channel, what, offset);
    return text;
}

// A written quantity of at most maxBytes bytes.
std::optional<std::uint32_t> Quantity(ByteReader& in, std::size_t maxBytes) {
    const std::size_t start = in.Position();
    const auto value = in.Vlq();
    if (!value || in.Position() - start > maxBytes)
        return std::nullopt;
    return value;
}

// Decodes one channel from the reader's position up to and including its End of Track.
std::string DecodeChannel(ByteReader& in, PatternChannel& channel) {
    std::uint8_t runningStatus = 0;
    std::uint32_t time = 0;
    for (;;) {
        PatternEvent event;
        event.offset = in.Position();
        const auto delta = Quantity(in, 3);
        if (!delta)
            return At("delta missing or longer than 3 bytes", channel.channel, event.offset);
        event.delta = *delta;
        time += *delta;
        event.time = time;
        const auto next = in.Peek();
        if (!next)
            return At("data end before End of Track", channel.channel, in.Position());
        if (*next & 0x80) {
            runningStatus = *in.U8();
            event.statusWritten = true;
        } else if (runningStatus == 0) {
            return At("event without a status", channel.channel, in.Position());
        }
        event.status = runningStatus;
        if (event.status == 0xFF) {
            channel.events.push_back(event);
            channel.end = in.Position();
            return {};
        }
        if (event.status >= 0xF0)
            return At("unexpected status", channel.channel, event.offset);
        const auto data1 = in.U8();
        const auto data2 = in.U8();
        if (!data1 || !data2)
            return At("data end inside an event", channel.channel, event.offset);
        event.data1 = *data1;
        event.data2 = *data2;
        if (event.IsSoundingNoteOn()) {
            const auto length = Quantity(in, 2);
            if (!length)
                return At("bad note length", channel.channel, event.offset);
            event.noteLength = *length;
        }
        channel.events.push_back(event);
    }
}

}  // namespace

std::uint8_t DecodedPattern::ChannelMask() const {
    std::uint8_t mask = 0;
    for (std::size_t k = 0; k < kPatternChannelCount; ++k) {
        if (offsets[k] != 0)
            mask = static_cast<std::uint8_t>(mask | (1u << k));
    }
    return mask;
}

PatternDecodeResult DecodePatternData(std::span<const std::uint8_t> data) {
    PatternDecodeResult result;
    ByteReader in(data);
    if (in.U16LE() != 0xFFFF) {
        result.error = "pattern data does not begin with FF FF";
        return result;
    }
    DecodedPattern pattern;
    pattern.size = data.size();
    for (auto& offset : pattern.offsets) {
        const auto value = in.U16LE();
        if (!value) {
            result.error = "pattern data is shorter than its 16-byte header";
            return result;
        }
        offset = *value;
    }
    for (std::size_t k = 0; k < kPatternChannelCount; ++k) {
        if (pattern.offsets[k] == 0)
            continue;
        PatternChannel channel;
        channel.channel = PatternChannelOfSlot(k);
        channel.offset = pattern.offsets[k];
        if (channel.offset != in.Position()) {
            result.error = At("data does not begin where the previous channel ended",
                              channel.channel, channel.offset);
            return result;
        }
        result.error = DecodeChannel(in, channel);
        if (!result.error.empty())
            return result;
        pattern.channels.push_back(std::move(channel));
    }
    const std::size_t rest = in.Remaining();
    if (data.size() % 2 != 0) {
        result.error = "pattern data size is odd";
    } else if (rest > 1 || (rest == 1 && in.Peek() != 0x00)) {
        result.error = std::to_string(rest) + " stray bytes after the last channel's data";
    } else {
        result.pattern = std::move(pattern);
    }
    return result;
}

}  // namespace vantrel
