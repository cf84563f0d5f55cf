#pragma once

#include <rtmidi/RtMidi.h>

#include <atomic>
#include <exception>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include "device/MidiPortBackend.h"
#include "device/rtmidi/RtMidiQuiet.h"

namespace vantrel::rtmidi {

// RtMidi reports a failure either by throwing or, once an error callback is installed, only
// through the callback. Every RtMidi object here gets a callback that records errors (and
// keeps RtMidi from printing warnings), and every call goes through Call, so a failure of
// either kind becomes a plain false.
class ErrorFlag {
  public:
    static void Record(RtMidiError::Type type, const std::string& /*text*/, void* user) {
        if (type != RtMidiError::WARNING && type != RtMidiError::DEBUG_WARNING) {
            static_cast<ErrorFlag*>(user)->failed_.store(true);
        }
    }
    template <typename Port>
    void Install(Port& port) {
        port.setErrorCallback(&ErrorFlag::Record, this);
    }
    template <typename Action>
    bool Call(Action&& action) {
        failed_.store(false);
        try {
            std::forward<Action>(action)();
        } catch (const std::exception&) {
            return false;
        }
        return !failed_.load();
    }

  private:
    std::atomic<bool> failed_{false};
};

// Constructs an RtMidi port object on one API; null when the API cannot start.
template <typename Port>
std::unique_ptr<Port> MakePort(RtMidi::Api api, const std::string& clientName, ErrorFlag& flag) {
    SilenceMidiServices();
    const QuietCerr quiet;
    try {
        auto port = std::make_unique<Port>(api, clientName);
        flag.Install(*port);
        return port;
    } catch (const std::exception&) {
        return nullptr;
    }
}

// The RtMidi input callback: hands the message to a MidiInputCallback (passed as user data).
void ForwardInput(double deltaTime, std::vector<unsigned char>* message, void* user);

// Sends bytes as one message.
bool SendBytes(RtMidiOut& out, ErrorFlag& flag, std::span<const std::uint8_t> bytes);

// RtMidi's JACK output frees its ring buffer in the destructor before it closes the JACK
// client, and its ports are marked closed without a barrier, so a process cycle that began
// before a port closed may still be reading that buffer. Called after closing a JACK port and
// before destroying its object, this outlasts any such cycle.
void WaitOutJackProcessCycle();

// Input as the port layer needs it: System Exclusive kept, timing and active sensing ignored,
// buffers large enough for 2000-byte messages.
void PrepareInput(RtMidiIn& in);

}  // namespace vantrel::rtmidi
