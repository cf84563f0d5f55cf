#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace vantrel {

// Raw bytes as they arrive from an input port: a whole System Exclusive message, a part of one,
// or other MIDI bytes. The receiver copies what it keeps; the span is valid only for the call.
using MidiInputCallback = std::function<void(std::span<const std::uint8_t> chunk)>;

struct MidiInputConfig {
    // Runs on the backend's own input thread (RtMidi: its callback thread, JACK's real-time
    // process thread under JACK; the in-process keyboard: its delivery thread), never twice at
    // once. It only moves bytes: it takes no lock, allocates nothing and never calls Send (the
    // link worker sends every reply). It is called only between StartInput and StopInput: once
    // StopInput has returned, no call is running and none follows, so the objects it uses may
    // then go away.
    MidiInputCallback onInput;
};

// The thin port interface that stands in for the operating system's MIDI calls. One input and
// one output port may be open at a time. Port indices are positions in the lists the
// enumeration returns at the moment of opening. Every call comes from the link worker (the port
// lists also from the thread that owns the link while the worker is idle); the caller
// serialises Send with OpenOutput and CloseOutput. Only the input callback runs elsewhere.
class MidiPortBackend {
  public:
    MidiPortBackend() = default;
    virtual ~MidiPortBackend() = default;
    MidiPortBackend(const MidiPortBackend&) = delete;
    MidiPortBackend& operator=(const MidiPortBackend&) = delete;

    [[nodiscard]] virtual std::vector<std::string> InputPortNames() = 0;
    [[nodiscard]] virtual std::vector<std::string> OutputPortNames() = 0;

    // Opens an input port; bytes are not delivered before StartInput. False when the index is
    // out of range, a port is already open or the system refuses.
    [[nodiscard]] virtual bool OpenInput(std::size_t index, MidiInputConfig config) = 0;
    // Starts delivering bytes to the callback.
    [[nodiscard]] virtual bool StartInput() = 0;
    // Stops and resets the input: undelivered bytes may be handed to the callback during the
    // call (the caller ignores them); afterwards the callback is not running and not called.
    [[nodiscard]] virtual bool StopInput() = 0;
    // Closes the input port (stopping it first if needed). False while the system still holds
    // the port (the caller stops it again and retries). True when no input port is open.
    [[nodiscard]] virtual bool CloseInput() = 0;

    [[nodiscard]] virtual bool OpenOutput(std::size_t index) = 0;
    // True when no output port is open afterwards.
    [[nodiscard]] virtual bool CloseOutput() = 0;
    // Sends one complete System Exclusive packet (F0h ... F7h) as one message.
    [[nodiscard]] virtual bool Send(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace vantrel
