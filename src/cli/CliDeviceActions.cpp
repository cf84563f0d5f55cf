#include "cli/CliDeviceActions.h"

#include <cstdio>
#include <string>

#include "cli/CliCommands.h"
#include "cli/CliInterrupt.h"
#include "cli/CliMidiCommands.h"
#include "cli/CliProgressBar.h"
#include "device/CMidiDevice.h"
#include "device/DeviceConnector.h"
#include "device/DownloadAdvice.h"
#include "device/LinkState.h"

namespace vantrel::cli {

namespace {

// A request that ended still in its waiting state had no answer in time; any other outcome is
// the device's refusal or failure.
int FailureStatus(TransferState waiting) {
    return CMidiTrans::CurrentState() == waiting ? kExitNoDevice : kExitFailed;
}

void PrintPorts(const char* title, const std::array<PortEntry, CMidiDevice::kMaxPorts>& ports,
                std::uint32_t count) {
    std::printf("%s\n", title);
    if (count == 0)
        std::printf("  (none)\n");
    for (std::uint32_t i = 0; i < count; ++i) {
        std::printf("  %u: %s\n", static_cast<unsigned>(i), ports[i].name.c_str());
    }
}

void PrintSlots(const std::string& deviceName, const std::vector<std::string>& names, bool json) {
    if (!json) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::printf("%3zu  %s\n", i, names[i].c_str());
        }
        return;
    }
    std::printf("{\"device\": %s, \"slots\": [", JsonString(deviceName).c_str());
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::printf("%s{\"slot\": %zu, \"name\": %s, \"empty\": %s}", i ? ", " : "", i,
                    JsonString(names[i]).c_str(), names[i] == "Empty" ? "true" : "false");
    }
    std::printf("]}\n");
}

}  // namespace

int RunPorts() {
    CMidiDevice* device = CMidiDevice::AcquireDevice();
    device->SetBackend(MakeCommandLineBackend(false));
    device->EnumeratePorts();
    PrintPorts("Input ports:", device->InputPorts(), device->InputPortCount());
    PrintPorts("Output ports:", device->OutputPorts(), device->OutputPortCount());
    // The pair the window's port chooser offers first.
    if (const auto pair =
            SuggestPortPair(std::span(device->InputPorts()).first(device->InputPortCount()),
                            std::span(device->OutputPorts()).first(device->OutputPortCount()), "",
                            "", kVirtualKeyboardName)) {
        std::printf("Keyboard's pair: --in %zu --out %zu (%s / %s)\n", pair->input, pair->output,
                    device->InputPorts()[pair->input].name.c_str(),
                    device->OutputPorts()[pair->output].name.c_str());
    }
    device->SetBackend(nullptr);
    CMidiDevice::ReleaseDevice();
    return kExitOk;
}

int RunConnect(const DevicePorts& ports) {
    DeviceSession session(ports);
    std::string name;
    if (const auto failed = session.Connect(ports, name))
        return *failed;
    std::printf("%s Connected!\n", name.c_str());
    return kExitOk;
}

int RunSlots(const DevicePorts& ports, bool json) {
    DeviceSession session(ports);
    std::string name;
    if (const auto failed = session.Connect(ports, name))
        return *failed;
    std::vector<std::string> names;
    if (!session.Trans().RequestSlotList(names)) {
        session.Prompt().Message("Connection error!");
        return FailureStatus(TransferState::ListRequested);
    }
    PrintSlots(name, names, json);
    return kExitOk;
}

int RunDelete(const DevicePorts& ports, const std::vector<int>& slots) {
    DeviceSession session(ports);
    std::string name;
    if (const auto failed = session.Connect(ports, name))
        return *failed;
    int status = kExitOk;
    for (const int slot : slots) {
        if (session.Trans().DeleteSlot(slot)) {
            std::printf("Slot %d deleted\n", slot);
            continue;
        }
        std::fprintf(stderr, "Slot %d could not be deleted\n", slot);
        const int failure = FailureStatus(TransferState::DeleteSent);
        if (status == kExitOk || failure == kExitNoDevice)
            status = failure;
    }
    return status;
}

int RunSend(const DevicePorts& ports, const std::filesystem::path& file, int slot, bool quiet) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error) {
        std::fprintf(stderr, "%s cannot be read\n", file.string().c_str());
        return kExitFailed;
    }
    const InterruptCancelsTransfer interrupt;
    DeviceSession session(ports);
    std::string name;
    if (const auto failed = session.Connect(ports, name))
        return interrupt.Interrupted() ? kExitInterrupted : *failed;

    CliProgressBar bar(CMidiTrans::DownloadPacketCount(size));
    CMidiDevice& device = session.Trans().Device();
    if (!quiet) {
        device.SetTransferStep([&bar] { bar.Step(); });
        device.SetTransferRestart([&bar](int retry, int retries) {
            bar.Restart("Trying again (" + std::to_string(retry) + " of " +
                        std::to_string(retries) + ")");
        });
    }
    Link().progressEnabled.store(true);
    const bool stored = session.Trans().DownloadFile(file, slot, CMidiTrans::kDownloadTimeoutMs);
    Link().progressEnabled.store(false);
    device.SetTransferRestart(nullptr);
    device.SetTransferStep(nullptr);
    bar.Finish();
    const std::string advice =
        DownloadAdvice(session.Trans().LastDownload(), stored, kLinkSettingsOptions);
    const std::string adviceLine = advice.empty() ? "" : "\n" + advice;
    if (stored) {
        session.Prompt().Message("Download successfully!" + adviceLine);
        return kExitOk;
    }
    if (interrupt.Interrupted()) {
        session.Prompt().Message("Download cancelled");
        return kExitInterrupted;
    }
    session.Prompt().Message("  Download error!" + adviceLine);
    const TransferState state = CMidiTrans::CurrentState();
    const bool unanswered = state == TransferState::HeaderSent || state == TransferState::DataSent;
    return unanswered ? kExitNoDevice : kExitFailed;
}

}  // namespace vantrel::cli
