#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "combine/StyleBuild.h"
#include "combine/TransferProgress.h"
#include "combine/UploadPorts.h"

namespace vantrel {

class CombineLists;
class UserPrompt;

// How an upload ended, for callers that report it (the window only shows the messages).
enum class UploadResult {
    Refused,         // a check stopped it before anything was built
    NoTarget,        // no slot text matched the marker; nothing was built
    BuildFailed,     // a part could not be converted or placed; nothing was sent
    DownloadFailed,  // the image could not be written or the keyboard did not store it
    Cancelled,       // the user cancelled the transfer; the slot keeps what it held
    Stored,          // the keyboard confirmed the image in the slot
};

struct UploadEnvironment {
    UserPrompt& prompt;
    UploadLink& link;
    SlotListView& slots;
    ProgressView& progress;
    PartConverter convert = ConvertToProducts;
};

// The checks of the chosen files before anything is built, each failure showing its message:
// the three lists hold a file ("Intro,Fill, Ending list can not be empty！"), and every file's
// tempo and time signature agree with the others' (file name +
// "The beat or tempo is inconsistent！"). The file names, Intro first, Fills, Ending last, or
// nullopt.
std::optional<std::vector<std::string>> CheckCombinedParts(const CombineLists& lists,
                                                           UserPrompt& prompt);

// One upload, in the steps a caller that does not wait for the transfer takes apart: Begin (or
// Build) runs the checks, builds the image, writes it and shows the progress; the caller then
// sends Image() into Slot(), reporting through Steps() (the window on the link worker, see
// DeviceUploadLink::StartDownload); Finish removes the image, shows the outcome and reads the
// slot list again. OnUpload and BuildAndDownload below run the same steps in one call.
class UploadRun {
  public:
    UploadRun(std::filesystem::path repositoryRoot, UploadEnvironment& environment);
    UploadRun(const UploadRun&) = delete;
    UploadRun& operator=(const UploadRun&) = delete;

    // The "Upload" button. In this order, each failure stopping with its message: the link
    // ("Please connect device！"), the three lists ("Intro,Fill, Ending list can not be empty！"),
    // the tempo and time signature of every file against the others (file name +
    // "The beat or tempo is inconsistent！"), the target slot; then Build, and the slot list is
    // read once more at the end. The result when it ended here; nullopt when the image waits to
    // be sent.
    std::optional<UploadResult> Begin(const CombineLists& lists);
    // Builds the image of the named parts and writes it as repositoryRoot/"Total.mix" for the
    // first slot whose text equals the marker. The result when it ended here (no such slot, a
    // part that failed, an image that could not be written); nullopt when the image waits.
    std::optional<UploadResult> Build(const std::vector<std::string>& slotTexts,
                                      const std::vector<std::string>& fileNames,
                                      const std::string& marker);
    const std::filesystem::path& Image() const { return image_; }
    int Slot() const { return slot_; }
    // One progress step per acknowledged packet; valid while this object lives.
    DownloadSteps Steps();
    // After the download: removes the image and shows "Download successfully!",
    // "  Download error!" or, when the user cancelled the transfer, "Download cancelled"; the
    // slot list is read again.
    UploadResult Finish(bool stored);

  private:
    UploadResult End(UploadResult result);

    std::filesystem::path root_;
    UploadEnvironment& env_;
    std::filesystem::path image_;
    int slot_ = -1;
    bool readAgainAtEnd_ = false;
    TransferProgress progress_;
};

// UploadRun's Begin, the download and Finish, in one call.
UploadResult OnUpload(const CombineLists& lists, const std::filesystem::path& repositoryRoot,
                      UploadEnvironment& environment);

// UploadRun's Build, the download and Finish, in one call; the slot list is read again
// afterwards unless the build failed.
UploadResult BuildAndDownload(const std::vector<std::string>& slotTexts,
                              const std::filesystem::path& repositoryRoot,
                              const std::vector<std::string>& fileNames, const std::string& marker,
                              UploadEnvironment& environment);

// The image file's name in the repository root; it exists only while it is being sent.
inline constexpr const char* kCombinedImageName = "Total.mix";

}  // namespace vantrel
