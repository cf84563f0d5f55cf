#include "keyboard/program/RtMidiKeyboardPorts.h"

#include <utility>

namespace vantrel {

namespace {

constexpr const char* kClientName = "vantrel-keyboard";

}  // namespace

RtMidiKeyboardPorts::RtMidiKeyboardPorts(KeyboardOptions options)
    : sender_([this](std::span<const std::uint8_t> message) {
          if (VirtualPortPair* ports = openPorts_.load())
              (void)ports->Send(message);
      }),
      outbox_(sender_),
      keyboard_(std::move(options), outbox_) {}

RtMidiKeyboardPorts::~RtMidiKeyboardPorts() {
    // The sender first, the only user of the output; replies the keyboard still makes while the
    // input closes are dropped by the stopped sender.
    sender_.Stop();
    ports_.reset();
}

std::string RtMidiKeyboardPorts::Open(const std::string& portName, bool preferJack) {
    ports_ = OpenVirtualPortPair(
        kClientName, portName,
        [this](std::span<const std::uint8_t> chunk) { keyboard_.OnPacket(chunk); }, preferJack);
    if (!ports_)
        return {};
    openPorts_.store(ports_.get());
    return ports_->ApiName();
}

}  // namespace vantrel
