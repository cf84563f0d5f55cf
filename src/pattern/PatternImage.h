#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "pattern/PatternHeader.h"
#include "pattern/PatternRecord.h"

namespace vantrel {

using ChannelRecords = std::array<std::vector<PatternRecord>, kPatternChannelCount>;

// Pattern data (the ".sty" product), little-endian:
//   0   2  FF FF
//   2  14  offset of each channel's event data, channels 10..16, 0 when the channel has none
//  16   .  the event data of every present channel, in channel order
//  end 0/1 a 0x00 byte that keeps the size even
// Each event is its delta (ordinary variable-length form, 1..3 bytes), its status only when it
// differs from the previous one of the channel, two data bytes for a channel message, and for a
// sounding note on its length (1..2 bytes). End of Track is the delta and the single byte FF.
inline constexpr std::size_t kPatternDataHeaderSize = 16;
// Offsets and the size in the control list are 16-bit.
inline constexpr std::size_t kMaxPatternDataSize = 0xFFFF;

// Assembles the pattern data of the channels whose mask bit is set. The delta of every record
// must fit 3 written bytes and every note length 2 (the converter refuses other files before).
// nullopt when the data would not fit the 16-bit offsets and size.
std::optional<std::vector<std::uint8_t>> AssemblePatternData(const ChannelRecords& channels,
                                                             std::uint8_t channelMask);

}  // namespace vantrel
