#include "keyboard/VirtualKeyboardBackend.h"

#include <utility>

namespace vantrel {

VirtualKeyboardBackend::VirtualKeyboardBackend(KeyboardOptions options)
    : sender_([this](std::span<const std::uint8_t> message) { Deliver(message); }),
      outbox_(sender_),
      keyboard_(std::move(options), outbox_) {
    ready_ = keyboard_.Load();
}

VirtualKeyboardBackend::~VirtualKeyboardBackend() {
    sender_.Stop();
}

std::vector<std::string> VirtualKeyboardBackend::InputPortNames() {
    return {kVirtualKeyboardName};
}

std::vector<std::string> VirtualKeyboardBackend::OutputPortNames() {
    return {kVirtualKeyboardName};
}

bool VirtualKeyboardBackend::OpenInput(std::size_t index, MidiInputConfig config) {
    std::lock_guard lock(inputMutex_);
    if (index != 0 || inputOpen_)
        return false;
    callback_ = std::move(config.onInput);
    inputOpen_ = true;
    return true;
}

bool VirtualKeyboardBackend::StartInput() {
    std::lock_guard lock(inputMutex_);
    if (!inputOpen_)
        return false;
    inputStarted_ = true;
    return true;
}

bool VirtualKeyboardBackend::StopInput() {
    {
        std::lock_guard lock(inputMutex_);
        inputStarted_ = false;
    }
    // What was on its way when the port stopped is lost, as on a reset port.
    sender_.Discard();
    return true;
}

bool VirtualKeyboardBackend::CloseInput() {
    if (!StopInput())
        return false;
    std::lock_guard lock(inputMutex_);
    inputOpen_ = false;
    callback_ = nullptr;
    return true;
}

bool VirtualKeyboardBackend::OpenOutput(std::size_t index) {
    if (index != 0)
        return false;
    bool closed = false;
    return outputOpen_.compare_exchange_strong(closed, true);
}

bool VirtualKeyboardBackend::CloseOutput() {
    outputOpen_ = false;
    return true;
}

bool VirtualKeyboardBackend::Send(std::span<const std::uint8_t> bytes) {
    if (!outputOpen_)
        return false;
    keyboard_.OnPacket(bytes);
    return true;
}

void VirtualKeyboardBackend::Deliver(std::span<const std::uint8_t> message) {
    std::lock_guard lock(inputMutex_);
    if (inputStarted_ && callback_)
        callback_(message);
}

}  // namespace vantrel
