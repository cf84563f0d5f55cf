#pragma once

#include <chrono>
#include <cstddef>

namespace vantrel {

// The two directions of the cable between the computer and the keyboard, in the keyboard's
// time. Each direction carries one message after the other; paced, at the 3,125 bytes/s of a
// DIN MIDI cable (31,250 baud, ten bits a byte), unpaced, in no time. Pure arithmetic.
class KeyboardLine {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr long long kDinBytesPerSecond = 3125;

    explicit KeyboardLine(bool paced = false) : paced_(paced) {}

    // A packet of `bytes` that began to arrive at `now`: when its last byte is in.
    Clock::time_point Received(Clock::time_point now, std::size_t bytes);

    // A message of `bytes` the keyboard has ready at `ready`: when its last byte reaches the
    // computer, after whatever went out before it.
    Clock::time_point Sent(Clock::time_point ready, std::size_t bytes);

    // How long `bytes` take on the cable.
    Clock::duration Carry(std::size_t bytes) const;

  private:
    bool paced_;
    Clock::time_point inFree_{};
    Clock::time_point outFree_{};
};

}  // namespace vantrel
