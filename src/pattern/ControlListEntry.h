#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "pattern/PatternHeader.h"

namespace vantrel {

// One entry of the control list (the ".dat" product): 82 bytes, little-endian.
//   0  8  name, space padded        16  7  port byte of channels 10..16
//   8  1  input index               23  1  0x00
//   9  1  time signature            24 56  seven channel blocks of 8 bytes
//  10  1  pattern kind              80  2  size of the pattern data in bytes
//  11  1  channel mask
//  12  2  tempo (BPM)
//  14  2  length in measures
inline constexpr std::size_t kControlListEntrySize = 82;

using ControlListBytes = std::array<std::uint8_t, kControlListEntrySize>;

ControlListBytes EncodeControlListEntry(const PatternHeader& header, std::uint16_t dataSize);

struct ControlListEntry {
    PatternHeader header;
    std::uint8_t reserved = 0;  // offset 23, written as 0
    std::uint16_t dataSize = 0;
};

// Decodes the first 82 bytes; nullopt when fewer are given.
std::optional<ControlListEntry> DecodeControlListEntry(std::span<const std::uint8_t> bytes);

}  // namespace vantrel
