#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vantrel {

class TransferProgress;

// What the upload needs of the device slot list: its rows in slot order (a stored name or
// "Empty"), the selected rows, and a fresh read of the slots from the device.
class SlotListView {
  public:
    virtual ~SlotListView() = default;
    virtual std::vector<std::string> Rows() const = 0;
    virtual std::vector<std::size_t> SelectedRows() const = 0;
    virtual void RefreshSlots() = 0;
};

// What a download reports while it runs, on the thread that sends.
struct DownloadSteps {
    std::function<void()> acknowledged;  // after each acknowledged packet
    // The download starts again from its file header: retry `retry` of the `retries` allowed.
    std::function<void(int retry, int retries)> restarted;
};

// What the upload needs of the device link.
class UploadLink {
  public:
    virtual ~UploadLink() = default;
    // Connected, the port layer exists and no device transaction runs.
    virtual bool Ready() const = 0;
    // Sends the image file into the slot, reporting through steps.
    virtual bool Download(const std::filesystem::path& image, int slot,
                          const DownloadSteps& steps) = 0;
    // Whether the last Download failed because the user cancelled it. Pure, so a link that
    // wraps another cannot drop the answer and turn a cancel into an error.
    virtual bool Cancelled() const = 0;
    // A line to show under the outcome of the last Download when the link had trouble (it
    // needed retries, or an acknowledge never came); empty when all went well.
    virtual std::string Advice(bool stored) const = 0;
};

// The download pane's progress bar: shown during the transfer, told of every change.
class ProgressView {
  public:
    virtual ~ProgressView() = default;
    virtual void ShowProgress(bool visible) = 0;
    virtual void ProgressChanged(const TransferProgress& progress) = 0;
    // The transfer is over (whatever its outcome): nothing is left to cancel.
    virtual void TransferEnded() {}
};

}  // namespace vantrel
