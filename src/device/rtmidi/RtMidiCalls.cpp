#include "device/rtmidi/RtMidiCalls.h"

namespace vantrel::rtmidi {

namespace {
constexpr unsigned int kInputBufferSize = 4096;
constexpr unsigned int kInputBufferCount = 4;
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

void PrepareInput(RtMidiIn& in) {
    in.ignoreTypes(false, true, true);
    in.setBufferSize(kInputBufferSize, kInputBufferCount);
}

}  // namespace vantrel::rtmidi
