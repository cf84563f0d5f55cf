#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "device/rtmidi/RtMidiBackend.h"
#include "keyboard/DelayedOutput.h"
#include "keyboard/DelayedSender.h"
#include "keyboard/KeyboardOptions.h"
#include "keyboard/VirtualKeyboard.h"

namespace vantrel {

// The virtual keyboard behind a pair of virtual MIDI ports that other programs connect to:
// what arrives at the input port reaches the keyboard through an inbox thread, and the
// keyboard's acknowledges and replies leave through the output port from the sender's thread.
class RtMidiKeyboardPorts {
  public:
    explicit RtMidiKeyboardPorts(KeyboardOptions options);
    ~RtMidiKeyboardPorts();
    RtMidiKeyboardPorts(const RtMidiKeyboardPorts&) = delete;
    RtMidiKeyboardPorts& operator=(const RtMidiKeyboardPorts&) = delete;

    // Loads the keyboard's slots; false when the store or a preset slot cannot be used.
    [[nodiscard]] bool Load() { return keyboard_.Load(); }

    // Opens both virtual ports named portName, on JACK or ALSA, the preferred API first.
    // Answers the API's name, or an empty text when no API could open them.
    std::string Open(const std::string& portName, bool preferJack);

    VirtualKeyboard& Keyboard() { return keyboard_; }

    // What to tell the user when Open fails.
    static const char* OpenFailureHint() {
        return "no MIDI API could open virtual ports (is a JACK server running?)";
    }

  private:
    // RtMidi calls in on the MIDI system's own thread (on JACK the process cycle, which must
    // end in time); packets are only queued there and fed to the keyboard from this thread.
    DelayedSender inbox_;
    DelayedSender sender_;
    DelayedOutput outbox_;
    VirtualKeyboard keyboard_;
    std::unique_ptr<VirtualPortPair> ports_;
    // What the sender's thread sends through; set once the pair is open.
    std::atomic<VirtualPortPair*> openPorts_{nullptr};
};

}  // namespace vantrel
