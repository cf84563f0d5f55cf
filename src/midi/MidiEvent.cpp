#include "midi/MidiEvent.h"

#include <algorithm>

namespace vantrel {

void MidiEvent::SetData(std::span<const std::uint8_t> head, std::span<const std::uint8_t> tail) {
    const std::size_t total = head.size() + tail.size();
    std::uint8_t* target = inlineData_.data();
    std::unique_ptr<std::uint8_t[]> buffer;
    if (total > kInlineCapacity) {
        buffer = std::make_unique_for_overwrite<std::uint8_t[]>(total);
        target = buffer.get();
    }
    std::copy(tail.begin(), tail.end(), std::copy(head.begin(), head.end(), target));
    externalData_ = std::move(buffer);
    length = static_cast<std::uint32_t>(total);
}

}  // namespace vantrel
