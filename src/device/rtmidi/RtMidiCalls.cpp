#include "device/rtmidi/RtMidiCalls.h"

#include <chrono>
#include <thread>

namespace vantrel::rtmidi {

namespace {
constexpr unsigned int kInputBufferSize = 4096;
constexpr unsigned int kInputBufferCount = 4;
// Several periods of the longest JACK period in use (2048 frames at 44.1 kHz is 46 ms), with
// room for a process thread that a loaded machine preempts mid-cycle.
constexpr std::chrono::milliseconds kProcessCycleAllowance{150};
}  // namespace

void ForwardInput(double /*deltaTime*/, std::vector<unsigned char>* message, void* user) {
    if (message == nullptr || message->empty() || user == nullptr)
        return;
    (*static_cast<MidiInputCallback*>(user))(
        std::span<const std::uint8_t>(message->data(), message->size()));
}

bool SendBytes(RtMidiOut& out, ErrorFlag& flag, std::span<const std::uint8_t> bytes) {
    return flag.Call([&] { out.sendMessage(bytes.data(), bytes.size()); });
}

void WaitOutJackProcessCycle() {
    std::this_thread::sleep_for(kProcessCycleAllowance);
}

void PrepareInput(RtMidiIn& in) {
    in.ignoreTypes(false, true, true);
    in.setBufferSize(kInputBufferSize, kInputBufferCount);
}

}  // namespace vantrel::rtmidi
