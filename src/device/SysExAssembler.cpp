#include "device/SysExAssembler.h"

namespace vantrel {

namespace {
constexpr std::uint8_t kStart = 0xF0;
constexpr std::uint8_t kEnd = 0xF7;
constexpr std::uint8_t kFirstRealTime = 0xF8;
}  // namespace

void SysExAssembler::Reset() {
    length_ = 0;
    inMessage_ = false;
}

void SysExAssembler::Feed(std::span<const std::uint8_t> chunk, const Sink& sink) {
    for (const std::uint8_t byte : chunk) {
        if (byte == kStart) {
            // A new message always starts here, whatever was pending.
            buffer_[0] = byte;
            length_ = 1;
            inMessage_ = true;
            continue;
        }
        if (!inMessage_ || byte >= kFirstRealTime)
            continue;
        if (byte >= 0x80 && byte != kEnd) {
            Reset();  // another status byte cuts the message short
            continue;
        }
        if (length_ + 1 >= kCapacity) {
            Reset();  // too long for the buffer: dropped whole, wait for the next F0h
            continue;
        }
        buffer_[length_++] = byte;
        if (byte == kEnd) {
            const std::size_t length = length_;
            Reset();
            if (sink)
                sink(std::span<const std::uint8_t>(buffer_.data(), length));
        }
    }
}

}  // namespace vantrel
