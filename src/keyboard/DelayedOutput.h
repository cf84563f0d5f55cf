#pragma once

#include <chrono>
#include <cstdint>
#include <utility>
#include <vector>

#include "keyboard/DelayedSender.h"
#include "keyboard/VirtualKeyboard.h"

namespace vantrel {

// The keyboard's messages go out through a DelayedSender, so the keyboard never waits for the
// port and a delayed reply does not hold up the thread that fed the keyboard.
class DelayedOutput final : public KeyboardOutput {
  public:
    explicit DelayedOutput(DelayedSender& sender) : sender_(sender) {}
    void Send(std::vector<std::uint8_t> message, std::chrono::microseconds delay) override {
        sender_.Queue(std::move(message), delay);
    }

  private:
    DelayedSender& sender_;
};

}  // namespace vantrel
