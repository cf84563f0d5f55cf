#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "pattern/PatternHeader.h"

namespace vantrel {

// One event of a channel's pattern data, read back.
struct PatternEvent {
    std::size_t offset = 0;      // where the event begins in the pattern data
    std::uint32_t delta = 0;     // ticks since the previous event of the channel
    std::uint32_t time = 0;      // absolute tick, 192 per quarter note
    std::uint8_t status = 0;     // in force for this event (0xFF: End of Track)
    bool statusWritten = false;  // false when it ran on from the previous event
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    std::uint32_t noteLength = 0;  // sounding note ons only

    bool IsSoundingNoteOn() const { return (status & 0xF0) == 0x90 && data2 != 0; }
};

struct PatternChannel {
    int channel = 0;  // 10..16
    std::uint16_t offset = 0;
    std::size_t end = 0;  // one past its End of Track byte
    std::vector<PatternEvent> events;
};

struct DecodedPattern {
    std::array<std::uint16_t, kPatternChannelCount> offsets{};
    std::vector<PatternChannel> channels;  // present channels in channel order
    std::size_t size = 0;

    // Bit k set when channel 10 + k has an offset.
    std::uint8_t ChannelMask() const;
};

struct PatternDecodeResult {
    std::optional<DecodedPattern> pattern;
    std::string error;  // why the data is not well formed; empty on success
};

// Reads pattern data back into per-channel events. Well formed means: FF FF and seven offsets,
// each present channel's data beginning exactly where the previous one ended (the first at 16),
// every event complete and ending in End of Track, then at most one 0x00 byte to an even size.
PatternDecodeResult DecodePatternData(std::span<const std::uint8_t> data);

}  // namespace vantrel
