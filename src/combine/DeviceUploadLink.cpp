#include "combine/DeviceUploadLink.h"

#include "common/UserPrompt.h"
#include "device/CMidiDevice.h"
#include "device/CMidiTrans.h"
#include "device/LinkState.h"

namespace vantrel {

namespace {

bool LinkUsable() {
    return Link().deviceConnected.load() && CMidiDevice::Instance() != nullptr &&
           Link().linkIdle.load();
}

}  // namespace

bool DeviceUploadLink::Ready() const {
    return LinkUsable();
}

bool DeviceUploadLink::Download(const std::filesystem::path& image, int slot,
                                const DownloadSteps& steps) {
    CMidiDevice& device = trans_.Device();
    device.SetTransferStep(steps.acknowledged);
    device.SetTransferRestart(steps.restarted);
    Link().progressEnabled.store(true);
    const bool stored = trans_.DownloadFile(image, slot, CMidiTrans::kDownloadTimeoutMs);
    cancelled_ = !stored && CMidiTrans::WasCancelled();
    Link().progressEnabled.store(false);
    device.SetTransferRestart({});
    device.SetTransferStep({});
    return stored;
}

void DeviceSlotList::RefreshSlots() {
    if (!LinkUsable())
        return;
    rows_.clear();
    if (!trans_.RequestSlotList(rows_)) {
        rows_.clear();
        prompt_.Message("Connection error!");
    }
}

}  // namespace vantrel
