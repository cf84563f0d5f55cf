#include "combine/DeviceUploadLink.h"

#include "common/UserPrompt.h"
#include "device/CMidiDevice.h"
#include "device/CMidiTrans.h"
#include "device/DeviceSlots.h"
#include "device/DownloadAdvice.h"
#include "device/LinkState.h"

namespace vantrel {

bool DeviceUploadLink::Ready() const {
    return LinkUsable();
}

void DeviceUploadLink::ReportSteps(const DownloadSteps& steps) {
    CMidiDevice& device = trans_.Device();
    device.SetTransferStep(steps.acknowledged);
    device.SetTransferRestart(steps.restarted);
    Link().progressEnabled.store(true);
}

void DeviceUploadLink::StopReporting(bool stored) {
    cancelled_ = !stored && CMidiTrans::WasCancelled();
    Link().progressEnabled.store(false);
    CMidiDevice& device = trans_.Device();
    device.SetTransferRestart({});
    device.SetTransferStep({});
}

bool DeviceUploadLink::Download(const std::filesystem::path& image, int slot,
                                const DownloadSteps& steps) {
    ReportSteps(steps);
    const bool stored = trans_.DownloadFile(image, slot, CMidiTrans::kDownloadTimeoutMs);
    StopReporting(stored);
    return stored;
}

void DeviceUploadLink::StartDownload(const std::filesystem::path& image, int slot,
                                     const DownloadSteps& steps,
                                     std::function<void(bool stored)> finished) {
    ReportSteps(steps);
    started_ = true;
    trans_.StartDownload(image, slot, CMidiTrans::kDownloadTimeoutMs,
                         [this, finished = std::move(finished)](bool stored) {
                             if (!started_)
                                 return;  // abandoned
                             started_ = false;
                             StopReporting(stored);
                             finished(stored);
                         });
}

void DeviceUploadLink::AbandonDownload() {
    if (!started_)
        return;
    started_ = false;
    StopReporting(false);
    CancelLink();
    // Queued behind the download, so this returns once the download has ended.
    trans_.Device().RunOnLink([] {}, false);
}

std::string DeviceUploadLink::Advice(bool stored) const {
    return DownloadAdvice(trans_.LastDownload(), stored, settings_);
}

void DeviceSlotList::RefreshSlots() {
    if (!LinkUsable())
        return;
    rows_ = ReadSlotRows(trans_, prompt_);
}

}  // namespace vantrel
