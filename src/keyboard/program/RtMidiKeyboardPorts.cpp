#include "keyboard/program/RtMidiKeyboardPorts.h"

#include <utility>

namespace vantrel {

namespace {

constexpr const char* kClientName = "vantrel-keyboard";

}  // namespace

RtMidiKeyboardPorts::RtMidiKeyboardPorts(KeyboardOptions options)
    : inbox_([this](std::span<const std::uint8_t> packet) { keyboard_.OnPacket(packet); }),
      sender_([this](std::span<const std::uint8_t> message) {
          if (VirtualPortPair* ports = openPorts_.load())
              (void)ports->Send(message);
      }),
      outbox_(sender_),
      keyboard_(std::move(options), outbox_) {}

RtMidiKeyboardPorts::~RtMidiKeyboardPorts() {
    // The threads first: packets still arriving while the ports close, and replies to them, are
    // dropped by the stopped inbox and sender, and nothing sends through a closed port.
    inbox_.Stop();
    sender_.Stop();
    ports_.reset();
}

std::string RtMidiKeyboardPorts::Open(const std::string& portName, bool preferJack) {
    ports_ = OpenVirtualPortPair(
        kClientName, portName,
        [this](std::span<const std::uint8_t> chunk) {
            inbox_.Queue(std::vector<std::uint8_t>(chunk.begin(), chunk.end()),
                         std::chrono::milliseconds{0});
        },
        preferJack);
    if (!ports_)
        return {};
    openPorts_.store(ports_.get());
    return ports_->ApiName();
}

}  // namespace vantrel
