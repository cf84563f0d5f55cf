#include "keyboard/program/WinMmKeyboardPorts.h"

#include <optional>
#include <utility>
#include <vector>

#include "device/winmm/WinMmBackend.h"

namespace vantrel {

namespace {

std::optional<std::size_t> FindPort(const std::vector<std::string>& names,
                                    const std::string& portName) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].rfind(portName, 0) == 0)
            return i;
    }
    return std::nullopt;
}

}  // namespace

WinMmKeyboardPorts::WinMmKeyboardPorts(KeyboardOptions options)
    : inbox_([this](std::span<const std::uint8_t> packet) { keyboard_.OnPacket(packet); }),
      sender_([this](std::span<const std::uint8_t> message) {
          if (open_.load())
              (void)ports_->Send(message);
      }),
      outbox_(sender_),
      keyboard_(std::move(options), outbox_),
      toInbox_([this](std::span<const std::uint8_t> packet) {
          inbox_.Queue(std::vector<std::uint8_t>(packet.begin(), packet.end()),
                       std::chrono::milliseconds{0});
      }) {}

WinMmKeyboardPorts::~WinMmKeyboardPorts() {
    inbox_.Stop();
    sender_.Stop();
    open_.store(false);
    if (ports_) {
        (void)ports_->CloseInput();
        (void)ports_->CloseOutput();
    }
}

std::string WinMmKeyboardPorts::Open(const std::string& portName, bool /*preferJack*/) {
    ports_ = MakeWinMmBackend();
    const auto in = FindPort(ports_->InputPortNames(), portName + " In");
    const auto out = FindPort(ports_->OutputPortNames(), portName + " Out");
    if (!in || !out || !ports_->OpenOutput(*out))
        return {};
    MidiInputConfig config{
        [this](std::span<const std::uint8_t> chunk) { joiner_.Feed(chunk, toInbox_); }};
    if (!ports_->OpenInput(*in, std::move(config)) || !ports_->StartInput()) {
        (void)ports_->CloseInput();
        (void)ports_->CloseOutput();
        return {};
    }
    open_.store(true);
    return "winmm";
}

}  // namespace vantrel
