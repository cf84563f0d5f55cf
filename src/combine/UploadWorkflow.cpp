#include "combine/UploadWorkflow.h"

#include <system_error>

#include "combine/CombineLists.h"
#include "combine/PartTexts.h"
#include "combine/SlotChoice.h"
#include "combine/TransferProgress.h"
#include "common/AtomicFile.h"
#include "common/UserPrompt.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

// The full-width "！" these texts end in is U+FF01.
const char kConnectFirst[] = "Please connect device\xEF\xBC\x81";
const char kListsEmpty[] = "Intro,Fill, Ending list can not be empty\xEF\xBC\x81";
const char kTooFewFiles[] = "At least three files in Sub-Respository  to download!";
const char kInconsistent[] = "The beat or tempo is inconsistent\xEF\xBC\x81";
const char kDownloaded[] = "Download successfully!";
const char kDownloadError[] = "  Download error!";
const char kDownloadCancelled[] = "Download cancelled";

// Intro, the Fills in list order, Ending.
std::vector<fs::path> CombinedPaths(const CombineLists& lists) {
    std::vector<fs::path> paths;
    for (SubRepository sub : kSubRepositories) {
        const auto& entries = lists.List(sub).EntryPaths();
        paths.insert(paths.end(), entries.begin(), entries.end());
    }
    return paths;
}

bool SendImage(const fs::path& mixPath, const std::vector<std::uint8_t>& image, std::size_t slot,
               UploadEnvironment& env) {
    if (!WriteFileAtomically(mixPath, image))
        return false;
    TransferProgress progress;
    env.progress.ProgressChanged(progress);
    env.progress.ShowProgress(true);
    DownloadSteps steps;
    steps.acknowledged = [&] {
        progress.Step();
        env.progress.ProgressChanged(progress);
    };
    steps.restarted = [&] {
        progress.Restart();
        env.progress.ProgressChanged(progress);
    };
    const bool stored = env.link.Download(mixPath, static_cast<int>(slot), steps);
    env.progress.TransferEnded();
    std::error_code ec;
    fs::remove(mixPath, ec);
    if (stored) {
        progress.Complete();
        env.progress.ProgressChanged(progress);
    }
    return stored;
}

}  // namespace

std::optional<std::vector<std::string>> CheckCombinedParts(const CombineLists& lists,
                                                           UserPrompt& prompt) {
    for (SubRepository sub : kSubRepositories) {
        if (lists.List(sub).EntryCount() == 0) {
            prompt.Message(kListsEmpty);
            return std::nullopt;
        }
    }
    std::vector<PartTexts> parts;
    for (const fs::path& path : CombinedPaths(lists)) {
        if (!path.empty())
            parts.push_back(ReadPartTexts(path));
    }
    if (parts.size() < 3) {
        prompt.Message(kTooFewFiles);
        return std::nullopt;
    }
    if (const auto pair = FindInconsistentPair(parts)) {
        const PartTexts& first = parts[pair->first];
        const PartTexts& differing = parts[pair->second];
        prompt.MessageWithDetail(differing.fileName + kInconsistent,
                                 differing.fileName + ": " + BeatAndTempo(differing) + "\n" +
                                     first.fileName + ": " + BeatAndTempo(first));
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (const PartTexts& part : parts)
        names.push_back(part.fileName);
    return names;
}

UploadResult OnUpload(const CombineLists& lists, const fs::path& repositoryRoot,
                      UploadEnvironment& env) {
    if (!env.link.Ready()) {
        env.prompt.Message(kConnectFirst);
        return UploadResult::Refused;
    }
    const auto names = CheckCombinedParts(lists, env.prompt);
    if (!names)
        return UploadResult::Refused;
    const SlotTexts slots = CollectSlotTexts(env.slots.Rows(), env.slots.SelectedRows());
    const auto marker = ChooseSlotMarker(slots, env.prompt);
    if (!marker)
        return UploadResult::Refused;

    const UploadResult result = BuildAndDownload(slots.texts, repositoryRoot, *names, *marker, env);
    env.slots.RefreshSlots();
    return result;
}

UploadResult BuildAndDownload(const std::vector<std::string>& slotTexts, const fs::path& root,
                              const std::vector<std::string>& fileNames, const std::string& marker,
                              UploadEnvironment& env) {
    UploadResult result = UploadResult::NoTarget;
    if (const auto slot = TargetSlot(slotTexts, marker)) {
        const auto image = BuildStyleImage(root, fileNames, env.prompt, env.convert);
        if (!image)
            return UploadResult::BuildFailed;
        const bool stored = SendImage(root / kCombinedImageName, *image, *slot, env);
        const bool cancelled = !stored && env.link.Cancelled();
        env.prompt.Message(stored ? kDownloaded : cancelled ? kDownloadCancelled : kDownloadError);
        result = stored      ? UploadResult::Stored
                 : cancelled ? UploadResult::Cancelled
                             : UploadResult::DownloadFailed;
    }
    env.progress.ShowProgress(false);
    env.slots.RefreshSlots();
    return result;
}

}  // namespace vantrel
