// Arbitrary bytes from the device: split into input chunks, joined by the port layer and handed
// to the protocol's reply handler on the link worker, in whichever transfer state the first byte
// picks. Status replies go out to a port that swallows them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "device/CMidiDevice.h"
#include "device/CMidiTrans.h"
#include "device/ProtocolState.h"

namespace {

using vantrel::TransferState;

class SwallowingBackend final : public vantrel::MidiPortBackend {
  public:
    std::vector<std::string> InputPortNames() override { return {"in"}; }
    std::vector<std::string> OutputPortNames() override { return {"out"}; }
    bool OpenInput(std::size_t, vantrel::MidiInputConfig) override { return true; }
    bool StartInput() override { return true; }
    bool StopInput() override { return true; }
    bool CloseInput() override { return true; }
    bool OpenOutput(std::size_t) override { return true; }
    bool CloseOutput() override { return true; }
    bool Send(std::span<const std::uint8_t> bytes) override { return !bytes.empty(); }
};

constexpr TransferState kStates[] = {
    TransferState::None,          TransferState::ConnectSent,    TransferState::Connected,
    TransferState::ListRequested, TransferState::ListComplete,   TransferState::ListOutOfOrder,
    TransferState::HeaderSent,    TransferState::HeaderAccepted, TransferState::DataSent,
    TransferState::DataStored,    TransferState::DeleteSent,     TransferState::Deleted,
};

vantrel::CMidiDevice& Device() {
    static vantrel::CMidiDevice* device = [] {
        auto* shared = vantrel::CMidiDevice::AcquireDevice();
        shared->SetBackend(std::make_shared<SwallowingBackend>());
        shared->SetSysExHandler(&vantrel::CMidiTrans::OnDeviceMessage);
        (void)shared->OpenOutput(0);
        return shared;
    }();
    return *device;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    vantrel::CMidiDevice& device = Device();
    vantrel::ProtocolState& protocol = vantrel::Protocol();
    protocol.transferState.store(kStates[data[0] % std::size(kStates)]);
    {
        const std::lock_guard lock(protocol.resultMutex);
        protocol.slotNames.clear();
    }
    // The second byte sets the chunk length, as input buffers of different fill would.
    const std::size_t chunk = data[1] % 64 + 1;
    const std::span<const std::uint8_t> stream(data + 2, size - 2);
    for (std::size_t offset = 0; offset < stream.size(); offset += chunk) {
        device.OnMidiInput(stream.subspan(offset, std::min(chunk, stream.size() - offset)));
    }
    // The handler runs on the link worker: first what the input brought, then the whole stream
    // as one message.
    device.RunOnLink([&] {
        device.SettleInput();
        vantrel::CMidiTrans::OnDeviceMessage(stream);
    });
    return 0;
}
