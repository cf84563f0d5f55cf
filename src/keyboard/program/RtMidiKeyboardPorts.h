#pragma once

#include <memory>
#include <string>

#include "keyboard/DelayedOutput.h"
#include "keyboard/DelayedSender.h"
#include "keyboard/KeyboardOptions.h"
#include "keyboard/VirtualKeyboard.h"

class RtMidiIn;
class RtMidiOut;

namespace vantrel {

// The virtual keyboard behind a pair of virtual MIDI ports that other programs connect to:
// what arrives at the input port goes to the keyboard on RtMidi's callback thread, and the
// keyboard's acknowledges and replies leave through the output port from a sender thread (the
// only thread that touches the output object).
class RtMidiKeyboardPorts {
  public:
    RtMidiKeyboardPorts(KeyboardOptions options);
    ~RtMidiKeyboardPorts();
    RtMidiKeyboardPorts(const RtMidiKeyboardPorts&) = delete;
    RtMidiKeyboardPorts& operator=(const RtMidiKeyboardPorts&) = delete;

    // Loads the keyboard's slots; false with a reason when the store cannot be used.
    bool Load(std::string& error);

    // Opens both virtual ports named portName. api: "jack", "alsa" or "any" (JACK first, then
    // ALSA). False with a reason when no API could open them. Describe() tells what was opened.
    bool Open(const std::string& api, const std::string& portName, std::string& error);
    std::string Describe() const { return description_; }

    VirtualKeyboard& Keyboard() { return keyboard_; }

  private:
    bool OpenWith(int api, const std::string& portName, std::string& error);
    void Close();

    std::unique_ptr<RtMidiIn> input_;
    std::unique_ptr<RtMidiOut> output_;
    DelayedSender sender_;
    DelayedOutput outbox_;
    VirtualKeyboard keyboard_;
    std::string description_;
};

}  // namespace vantrel
