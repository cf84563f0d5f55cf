#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace vantrel {

// Joins incoming MIDI bytes into System Exclusive messages. A message starts at F0h and ends
// at F7h; it may arrive split over any number of chunks. Real-time bytes (F8h-FFh) inside a
// message are skipped; any other status byte ends it unfinished. A message that would reach
// kCapacity bytes is dropped whole and the assembler waits for the next F0h, so a too-long
// message is never glued to the front of the next one.
class SysExAssembler {
  public:
    static constexpr std::size_t kCapacity = 2000;
    using Sink = std::function<void(std::span<const std::uint8_t> message)>;

    void Feed(std::span<const std::uint8_t> chunk, const Sink& sink);
    void Reset();
    std::size_t Length() const { return length_; }

  private:
    std::array<std::uint8_t, kCapacity> buffer_{};
    std::size_t length_ = 0;
    bool inMessage_ = false;
};

}  // namespace vantrel
