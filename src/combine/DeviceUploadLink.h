#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "combine/UploadPorts.h"

namespace vantrel {

class CMidiTrans;
class UserPrompt;

// The upload's link through the shared port layer and a protocol handle.
class DeviceUploadLink final : public UploadLink {
  public:
    // `settings` names where the user changes the link's acknowledge time-out and retries, for
    // the advice after a troubled download.
    explicit DeviceUploadLink(CMidiTrans& trans,
                              std::string settings = "Link\u2026 > Link settings")
        : trans_(trans), settings_(std::move(settings)) {}

    bool Ready() const override;
    // Steps and restarts are reported only for the length of this call.
    bool Download(const std::filesystem::path& image, int slot,
                  const DownloadSteps& steps) override;
    bool Cancelled() const override { return cancelled_; }
    std::string Advice(bool stored) const override;
    // Download without waiting (the window): the steps are reported and `finished` runs on
    // this thread as the port layer delivers its notices (CMidiDevice::DeliverNotices).
    void StartDownload(const std::filesystem::path& image, int slot, const DownloadSteps& steps,
                       std::function<void(bool stored)> finished);
    // The caller goes away before a started download has ended: it is cancelled, waited for,
    // and neither its steps nor its end are reported.
    void AbandonDownload();

  private:
    void ReportSteps(const DownloadSteps& steps);
    void StopReporting(bool stored);

    CMidiTrans& trans_;
    std::string settings_;
    bool cancelled_ = false;
    bool started_ = false;  // a StartDownload has not yet finished
};

// The device slot list without a window: rows read from the device, and a selection.
class DeviceSlotList final : public SlotListView {
  public:
    DeviceSlotList(CMidiTrans& trans, UserPrompt& prompt) : trans_(trans), prompt_(prompt) {}

    std::vector<std::string> Rows() const override { return rows_; }
    std::vector<std::size_t> SelectedRows() const override { return selected_; }
    void Select(std::vector<std::size_t> rows) { selected_ = std::move(rows); }

    // Only while connected and idle: the rows and the selection are cleared and the rows read
    // again; a failed read shows
    // "Connection error!" and leaves the list empty.
    void RefreshSlots() override;

  private:
    CMidiTrans& trans_;
    UserPrompt& prompt_;
    std::vector<std::string> rows_;
    std::vector<std::size_t> selected_;
};

}  // namespace vantrel
