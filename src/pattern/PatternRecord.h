#pragma once

#include <array>
#include <cstdint>

namespace vantrel {

// One recorded event of a pattern channel, as the converter keeps it before the compact pattern
// data is assembled. Delta and note length are held as reversed variable-length quantities.
struct PatternRecord {
    std::array<std::uint8_t, 4> delta{};  // ticks since the previous record of the track
    std::uint8_t status = 0;              // 0xFF for End of Track
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    std::uint8_t spare = 0;
    std::array<std::uint8_t, 4> noteLength{};  // note on with velocity > 0 only
    std::uint32_t time = 0;                    // absolute, 192 ticks per quarter note
};

// The largest value a reversed quantity (and the ordinary MIDI form) holds in 4 bytes.
inline constexpr std::uint32_t kMaxQuantity = 0x0FFFFFFF;

// The 7-bit groups of value, least significant group first; the first byte has bit 7 clear,
// every following one bit 7 set, unused bytes stay 0, and 0 writes no byte at all
// (200 -> 48 81 00 00, 16384 -> 00 80 81 00). value must not exceed kMaxQuantity.
std::array<std::uint8_t, 4> ReversedQuantity(std::uint32_t value);

}  // namespace vantrel
