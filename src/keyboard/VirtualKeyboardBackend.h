#pragma once

#include <atomic>
#include <mutex>

#include "device/MidiPortBackend.h"
#include "keyboard/DelayedOutput.h"
#include "keyboard/DelayedSender.h"
#include "keyboard/VirtualKeyboard.h"

namespace vantrel {

// The virtual keyboard behind one input and one output port, both named
// "Vantrel Virtual Keyboard", inside this process. What the computer sends reaches the keyboard
// on the sending thread; the keyboard's acknowledges and replies come back on this backend's
// own delivery thread, as a system's MIDI input thread would bring them.
class VirtualKeyboardBackend final : public MidiPortBackend {
  public:
    explicit VirtualKeyboardBackend(KeyboardOptions options = {});
    ~VirtualKeyboardBackend() override;

    // False when the keyboard's store or initial slots could not be loaded.
    bool Ready() const { return ready_; }
    VirtualKeyboard& Keyboard() { return keyboard_; }

    [[nodiscard]] std::vector<std::string> InputPortNames() override;
    [[nodiscard]] std::vector<std::string> OutputPortNames() override;
    [[nodiscard]] bool OpenInput(std::size_t index, MidiInputConfig config) override;
    [[nodiscard]] bool StartInput() override;
    [[nodiscard]] bool StopInput() override;
    [[nodiscard]] bool CloseInput() override;
    [[nodiscard]] bool OpenOutput(std::size_t index) override;
    [[nodiscard]] bool CloseOutput() override;
    [[nodiscard]] bool Send(std::span<const std::uint8_t> bytes) override;

  private:
    void Deliver(std::span<const std::uint8_t> message);

    // Held while the input callback runs, so StopInput returns only when no call is running.
    std::mutex inputMutex_;
    MidiInputCallback callback_;
    bool inputOpen_ = false;
    bool inputStarted_ = false;
    std::atomic<bool> outputOpen_{false};

    DelayedSender sender_;
    DelayedOutput outbox_;
    VirtualKeyboard keyboard_;
    bool ready_ = false;
};

}  // namespace vantrel
