#include "pattern/PatternImage.h"

#include <algorithm>

namespace vantrel {

namespace {

// Writes a reversed quantity in the ordinary form, most significant group first, from its first
// `width` bytes; the lowest group is always written (a delta of 0 is the single byte 00).
void EmitQuantity(std::vector<std::uint8_t>& out, const std::array<std::uint8_t, 4>& reversed,
                  std::size_t width) {
    bool started = false;
    for (std::size_t i = width; i-- > 1;) {
        if (reversed[i] != 0 || started) {
            out.push_back(reversed[i]);
            started = true;
        }
    }
    out.push_back(reversed[0]);
}

void EmitChannel(std::vector<std::uint8_t>& out, const std::vector<PatternRecord>& records) {
    std::uint8_t previousStatus = 0;
    for (const PatternRecord& record : records) {
        EmitQuantity(out, record.delta, 3);
        if (record.status != previousStatus) {
            out.push_back(record.status);
            previousStatus = record.status;
        }
        if (record.status < 0xF0) {
            out.push_back(record.data1);
            out.push_back(record.data2);
        }
        if ((record.status & 0xF0) == 0x90 && record.data2 != 0) {
            EmitQuantity(out, record.noteLength, 2);
        }
    }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> AssemblePatternData(const ChannelRecords& channels,
                                                             std::uint8_t channelMask) {
    std::size_t estimate = kPatternDataHeaderSize + 1;
    for (const auto& records : channels)
        estimate += records.size() * 8;
    std::vector<std::uint8_t> out;
    out.reserve(std::min(estimate, kMaxPatternDataSize + 1));
    out.assign(kPatternDataHeaderSize, 0);
    out[0] = 0xFF;
    out[1] = 0xFF;
    for (std::size_t k = 0; k < kPatternChannelCount; ++k) {
        if ((channelMask & (1u << k)) == 0)
            continue;
        const std::size_t start = out.size();
        EmitChannel(out, channels[k]);
        if (out.size() > kMaxPatternDataSize)
            return std::nullopt;
        if (out.size() != start) {
            out[2 + 2 * k] = static_cast<std::uint8_t>(start);
            out[3 + 2 * k] = static_cast<std::uint8_t>(start >> 8);
        }
    }
    if (out.size() % 2 != 0)
        out.push_back(0x00);
    if (out.size() > kMaxPatternDataSize)
        return std::nullopt;
    return out;
}

}  // namespace vantrel
