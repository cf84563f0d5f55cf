#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "device/SysExProtocol.h"
#include "keyboard/VirtualKeyboard.h"

namespace vantrel::test {

// Records what a keyboard sends, acknowledges and replies apart.
class RecordingOutput final : public KeyboardOutput {
  public:
    struct Sent {
        std::vector<std::uint8_t> message;
        std::chrono::microseconds delay;
    };

    void Send(std::vector<std::uint8_t> message, std::chrono::microseconds delay) override {
        std::lock_guard lock(mutex_);
        sent_.push_back({std::move(message), delay});
    }
    std::vector<Sent> All() const {
        std::lock_guard lock(mutex_);
        return sent_;
    }
    std::vector<std::vector<std::uint8_t>> Replies() const;
    std::size_t Acknowledges() const;
    void Clear() {
        std::lock_guard lock(mutex_);
        sent_.clear();
    }

  private:
    mutable std::mutex mutex_;
    std::vector<Sent> sent_;
};

// A message as the computer puts it on the wire: the first 47 bytes + F7h, then F0h + 46 bytes
// + F7h for each further full piece, then F0h + the rest (a message under 47 bytes unchanged).
std::vector<std::vector<std::uint8_t>> Packets(std::span<const std::uint8_t> message);

// Feeds every packet of the message to the keyboard.
void Feed(VirtualKeyboard& keyboard, std::span<const std::uint8_t> message);

// The unpacked record of a reply; empty when the reply is not a frame.
std::vector<std::uint8_t> ReplyRecord(std::span<const std::uint8_t> reply);
std::uint8_t ReplyCommand(std::span<const std::uint8_t> reply);

// A well-formed 20474-byte style image: a bass pattern and a drum pattern, converted as the
// upload converts them, in the Intro, Ending and first Fill blocks.
const std::vector<std::uint8_t>& WellFormedImage();
// The same image with its Intro block's size field pointing past the block: refused by the
// keyboard's check, same length.
std::vector<std::uint8_t> MalformedImage();

}  // namespace vantrel::test
