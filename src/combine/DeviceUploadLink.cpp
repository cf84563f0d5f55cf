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
                                const std::function<void()>& step) {
    CMidiDevice& device = trans_.Device();
    device.SetTransferStep(step);
    Link().progressEnabled.store(true);
    const bool stored = trans_.DownloadFile(image, slot, CMidiTrans::kDownloadTimeoutMs);
    Link().progressEnabled.store(false);
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
