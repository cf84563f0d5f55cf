#include "keyboard/program/RtMidiKeyboardPorts.h"

#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace vantrel {

namespace {

constexpr const char* kInputClient = "vantrel-keyboard-in";
constexpr const char* kOutputClient = "vantrel-keyboard-out";

// RtMidi's thread hands each received message here; the keyboard joins packets itself.
void OnRtMidiInput(double /*timeStamp*/, std::vector<unsigned char>* message, void* keyboard) {
    if (message == nullptr || message->empty())
        return;
    static_cast<VirtualKeyboard*>(keyboard)->OnPacket(
        std::span<const std::uint8_t>(message->data(), message->size()));
}

// Problems RtMidi meets later (a full output buffer, a lost server) are warnings for the log,
// not reasons to end the program.
void OnRtMidiError(RtMidiError::Type /*type*/, const std::string& text, void* /*user*/) {
    std::fprintf(stderr, "vantrel-keyboard: %s\n", text.c_str());
}

}  // namespace

RtMidiKeyboardPorts::RtMidiKeyboardPorts(KeyboardOptions options)
    : sender_([this](std::span<const std::uint8_t> message) {
          if (output_)
              output_->sendMessage(message.data(), message.size());
      }),
      outbox_(sender_),
      keyboard_(std::move(options), outbox_) {}

RtMidiKeyboardPorts::~RtMidiKeyboardPorts() {
    Close();
}

bool RtMidiKeyboardPorts::Load(std::string& error) {
    if (keyboard_.Load())
        return true;
    error = "the slot store or the preset slots could not be loaded";
    return false;
}

bool RtMidiKeyboardPorts::Open(const std::string& api, const std::string& portName,
                               std::string& error) {
    std::vector<RtMidi::Api> tries;
    if (api == "jack" || api == "any")
        tries.push_back(RtMidi::UNIX_JACK);
    if (api == "alsa" || api == "any")
        tries.push_back(RtMidi::LINUX_ALSA);
    std::vector<RtMidi::Api> compiled;
    RtMidi::getCompiledApi(compiled);
    error.clear();
    for (RtMidi::Api candidate : tries) {
        if (std::find(compiled.begin(), compiled.end(), candidate) == compiled.end())
            continue;
        std::string why;
        if (OpenWith(candidate, portName, why))
            return true;
        error += (error.empty() ? "" : "; ") + why;
    }
    if (error.empty())
        error = "no MIDI API for \"" + api + "\" is available";
    return false;
}

bool RtMidiKeyboardPorts::OpenWith(int api, const std::string& portName, std::string& error) {
    const auto rtApi = static_cast<RtMidi::Api>(api);
    try {
        output_ = std::make_unique<RtMidiOut>(rtApi, kOutputClient);
        output_->openVirtualPort(portName);
        output_->setErrorCallback(&OnRtMidiError, nullptr);
        input_ = std::make_unique<RtMidiIn>(rtApi, kInputClient);
        // SysEx is what the keyboard lives on; timing and active sensing are of no use to it.
        input_->ignoreTypes(false, true, true);
        input_->setCallback(&OnRtMidiInput, &keyboard_);
        input_->openVirtualPort(portName);
        input_->setErrorCallback(&OnRtMidiError, nullptr);
    } catch (const RtMidiError& failure) {
        error = RtMidi::getApiName(rtApi) + ": " + failure.getMessage();
        Close();
        return false;
    }
    description_ = RtMidi::getApiName(rtApi) + " virtual ports: input " + kInputClient + ":" +
                   portName + ", output " + kOutputClient + ":" + portName;
    return true;
}

void RtMidiKeyboardPorts::Close() {
    // Input first, so nothing new reaches the keyboard; then the sender, the only user of the
    // output object.
    input_.reset();
    sender_.Discard();
    output_.reset();
}

}  // namespace vantrel
