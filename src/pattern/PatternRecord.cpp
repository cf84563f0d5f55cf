#include "pattern/PatternRecord.h"

namespace vantrel {

std::array<std::uint8_t, 4> ReversedQuantity(std::uint32_t value) {
    std::array<std::uint8_t, 4> bytes{};
    for (std::size_t i = 0; i < bytes.size() && value != 0; ++i) {
        const auto group = static_cast<std::uint8_t>(value & 0x7Fu);
        bytes[i] = i == 0 ? group : static_cast<std::uint8_t>(group | 0x80u);
        value >>= 7;
    }
    return bytes;
}

}  // namespace vantrel
