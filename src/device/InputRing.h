#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/SysExAssembler.h"

namespace vantrel {

// Complete incoming messages on their way from the MIDI input thread (the one producer) to the
// link worker (the one consumer). Fixed capacity, no lock and no allocation on either side: the
// input thread of a MIDI server must never wait for another thread. A message that finds the
// ring full is dropped and counted; the protocol then meets it as a lost reply (a time-out),
// never as a corrupted one.
class InputRing {
  public:
    static constexpr std::size_t kSlots = 64;
    static constexpr std::size_t kMessageCapacity = SysExAssembler::kCapacity;

    // Producer only. False (and nothing stored) when the ring is full or the message too long.
    bool Push(std::span<const std::uint8_t> message) {
        if (message.size() > kMessageCapacity)
            return CountDropped();
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head - tail_.load(std::memory_order_acquire) >= kSlots)
            return CountDropped();
        Slot& slot = slots_[head % kSlots];
        std::copy(message.begin(), message.end(), slot.bytes.begin());
        slot.length = message.size();
        // The bytes are written before the head that announces them.
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    // Consumer only. Hands the oldest message to `use` (the span is valid during the call) and
    // frees its slot; false when the ring is empty.
    template <typename Use>
    bool Pop(Use&& use) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail == head_.load(std::memory_order_acquire))
            return false;
        const Slot& slot = slots_[tail % kSlots];
        use(std::span<const std::uint8_t>(slot.bytes.data(), slot.length));
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    bool Empty() const {
        return tail_.load(std::memory_order_acquire) == head_.load(std::memory_order_acquire);
    }
    std::size_t Dropped() const { return dropped_.load(std::memory_order_relaxed); }

  private:
    struct Slot {
        std::array<std::uint8_t, kMessageCapacity> bytes;
        std::size_t length = 0;
    };

    bool CountDropped() {
        dropped_.fetch_add(1, std::memory_order_relaxed);
        return false;
    }

    std::array<Slot, kSlots> slots_{};
    std::atomic<std::size_t> head_{0};  // written by the producer
    std::atomic<std::size_t> tail_{0};  // written by the consumer
    std::atomic<std::size_t> dropped_{0};
};

}  // namespace vantrel
