#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "device/MidiPortBackend.h"
#include "device/SysExAssembler.h"
#include "keyboard/DelayedOutput.h"
#include "keyboard/DelayedSender.h"
#include "keyboard/KeyboardOptions.h"
#include "keyboard/VirtualKeyboard.h"

namespace vantrel {

// The virtual keyboard on Windows, where programs cannot make MIDI ports: it listens on the
// input whose name begins with "NAME In" and answers on the output whose name begins with
// "NAME Out", two loopback cables the user installed and named so (the computer's side sends
// into "NAME In" and listens on "NAME Out"). What arrives is joined into messages on the
// system's MIDI thread and handed to the keyboard through an inbox thread; replies leave from
// the sender's.
class WinMmKeyboardPorts {
  public:
    explicit WinMmKeyboardPorts(KeyboardOptions options);
    ~WinMmKeyboardPorts();
    WinMmKeyboardPorts(const WinMmKeyboardPorts&) = delete;
    WinMmKeyboardPorts& operator=(const WinMmKeyboardPorts&) = delete;

    [[nodiscard]] bool Load() { return keyboard_.Load(); }

    // Opens "portName In..." and "portName Out..."; answers "winmm", or an empty text when they
    // cannot be found or opened.
    std::string Open(const std::string& portName, bool preferJack);

    VirtualKeyboard& Keyboard() { return keyboard_; }

    static const char* OpenFailureHint() {
        return "no MIDI ports \"NAME In\" and \"NAME Out\" for the --port-name NAME (Windows "
               "programs cannot make MIDI ports: install two loopback MIDI cables named so)";
    }

  private:
    DelayedSender inbox_;
    DelayedSender sender_;
    DelayedOutput outbox_;
    VirtualKeyboard keyboard_;
    SysExAssembler joiner_;  // the system's MIDI thread only
    SysExAssembler::Sink toInbox_;
    std::unique_ptr<MidiPortBackend> ports_;
    std::atomic<bool> open_{false};
};

}  // namespace vantrel
