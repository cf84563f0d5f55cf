#include <algorithm>
#include <mutex>
#include <utility>

#include "device/rtmidi/RtMidiBackend.h"
#include "device/rtmidi/RtMidiCalls.h"

namespace vantrel {

namespace {

using rtmidi::ErrorFlag;

class RtMidiVirtualPortPair final : public VirtualPortPair {
  public:
    RtMidiVirtualPortPair(RtMidi::Api api, MidiInputCallback onInput)
        : api_(api), onInput_(std::move(onInput)) {}

    ~RtMidiVirtualPortPair() override {
        if (in_)
            (void)inFlag_.Call([&] { in_->closePort(); });
        if (out_)
            (void)outFlag_.Call([&] { out_->closePort(); });
        if (api_ == RtMidi::UNIX_JACK && (in_ || out_))
            rtmidi::WaitOutJackProcessCycle();
    }

    bool Open(const std::string& clientName, const std::string& portName) {
        in_ = rtmidi::MakePort<RtMidiIn>(api_, clientName, inFlag_);
        out_ = rtmidi::MakePort<RtMidiOut>(api_, clientName, outFlag_);
        if (!in_ || !out_)
            return false;
        return inFlag_.Call([&] {
            rtmidi::PrepareInput(*in_);
            in_->setCallback(&rtmidi::ForwardInput, &onInput_);
            in_->openVirtualPort(portName);
        }) && outFlag_.Call([&] { out_->openVirtualPort(portName); });
    }

    bool Send(std::span<const std::uint8_t> bytes) override {
        const std::lock_guard lock(sendMutex_);
        return rtmidi::SendBytes(*out_, outFlag_, bytes);
    }

    std::string ApiName() const override { return RtMidi::getApiName(api_); }

  private:
    RtMidi::Api api_;
    MidiInputCallback onInput_;
    ErrorFlag inFlag_;
    ErrorFlag outFlag_;
    std::mutex sendMutex_;
    std::unique_ptr<RtMidiIn> in_;
    std::unique_ptr<RtMidiOut> out_;
};

}  // namespace

std::unique_ptr<VirtualPortPair> OpenVirtualPortPair(const std::string& clientName,
                                                     const std::string& portName,
                                                     MidiInputCallback onInput, bool preferJack) {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    std::stable_partition(apis.begin(), apis.end(), [preferJack](RtMidi::Api api) {
        return (api == RtMidi::UNIX_JACK) == preferJack;
    });
    for (const RtMidi::Api api : apis) {
        if (api == RtMidi::RTMIDI_DUMMY)
            continue;
        auto pair = std::make_unique<RtMidiVirtualPortPair>(api, onInput);
        if (pair->Open(clientName, portName))
            return pair;
    }
    return nullptr;
}

}  // namespace vantrel
