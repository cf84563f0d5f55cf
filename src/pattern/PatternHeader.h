#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vantrel {

// A pattern uses the accompaniment channels 10 to 16 only, one track per channel:
// 10 DRUM, 11 PERCUSSION, 12 BASS, 13 CHORD1, 14 CHORD2, 15 CHORD3, 16 CHORD4.
inline constexpr int kFirstPatternChannel = 10;
inline constexpr std::size_t kPatternChannelCount = 7;

// Channel number (10..16) of slot k (0..6) and the reverse; -1 for a channel outside 10..16.
constexpr int PatternChannelOfSlot(std::size_t slot) {
    return kFirstPatternChannel + static_cast<int>(slot);
}
constexpr int PatternSlotOfChannel(int channel) {
    return channel >= kFirstPatternChannel && channel < kFirstPatternChannel + 7
               ? channel - kFirstPatternChannel
               : -1;
}

// The eight bytes that set up one channel on the device, in their order in the control list.
struct ChannelBlock {
    std::uint8_t program = 0;
    std::uint8_t volume = 100;
    std::uint8_t pan = 8;  // level 0..16
    std::uint8_t reverb = 64;
    std::uint8_t channelIndex = 0;  // channel number - 1
    std::uint8_t partClass = 0;     // 0 for the rhythm channels 10 and 11, 2 for the others
    std::uint8_t bankMsb = 0;
    std::uint8_t bankLsb = 0;

    bool operator==(const ChannelBlock&) const = default;
};

// The per-file settings that become one entry of the control list.
struct PatternHeader {
    std::array<std::uint8_t, 8> name{};
    std::uint8_t index = 0;
    std::uint8_t timeSignature = 0;  // denominator exponent x 16 | numerator
    std::uint8_t kind = 0;           // 0..3
    std::uint8_t channelMask = 0;    // bit k: channel 10 + k has event data
    std::uint16_t tempo = 0;         // beats per minute
    std::uint16_t measures = 0;
    std::array<std::uint8_t, kPatternChannelCount> ports{};
    std::array<ChannelBlock, kPatternChannelCount> blocks{};

    bool operator==(const PatternHeader&) const = default;

    // The state before a file's settings are read: blank name, each channel's defaults.
    static PatternHeader Initial();
};

inline PatternHeader PatternHeader::Initial() {
    PatternHeader header;
    header.name.fill(' ');
    for (std::size_t k = 0; k < kPatternChannelCount; ++k) {
        ChannelBlock& block = header.blocks[k];
        const bool rhythm = k < 2;
        block.program = rhythm ? 0x80 : 0x00;
        block.channelIndex = static_cast<std::uint8_t>(PatternChannelOfSlot(k) - 1);
        block.partClass = rhythm ? 0 : 2;
    }
    return header;
}

}  // namespace vantrel
