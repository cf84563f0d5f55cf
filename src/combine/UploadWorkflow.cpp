#include "combine/UploadWorkflow.h"

#include <system_error>
#include <utility>

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

UploadRun::UploadRun(fs::path repositoryRoot, UploadEnvironment& environment)
    : root_(std::move(repositoryRoot)), env_(environment) {}

std::optional<UploadResult> UploadRun::Begin(const CombineLists& lists) {
    if (!env_.link.Ready()) {
        env_.prompt.Message(kConnectFirst);
        return UploadResult::Refused;
    }
    const auto names = CheckCombinedParts(lists, env_.prompt);
    if (!names)
        return UploadResult::Refused;
    const SlotTexts slots = CollectSlotTexts(env_.slots.Rows(), env_.slots.SelectedRows());
    const auto marker = ChooseSlotMarker(slots, env_.prompt);
    if (!marker)
        return UploadResult::Refused;
    readAgainAtEnd_ = true;
    return Build(slots.texts, *names, *marker);
}

std::optional<UploadResult> UploadRun::Build(const std::vector<std::string>& slotTexts,
                                             const std::vector<std::string>& fileNames,
                                             const std::string& marker) {
    const auto slot = TargetSlot(slotTexts, marker);
    if (!slot)
        return End(UploadResult::NoTarget);
    const auto image = BuildStyleImage(root_, fileNames, env_.prompt, env_.convert);
    if (!image) {
        if (readAgainAtEnd_)
            env_.slots.RefreshSlots();
        return UploadResult::BuildFailed;
    }
    image_ = root_ / kCombinedImageName;
    slot_ = static_cast<int>(*slot);
    if (!WriteFileAtomically(image_, *image)) {
        env_.prompt.Message(kDownloadError);
        return End(UploadResult::DownloadFailed);
    }
    progress_ = TransferProgress();
    env_.progress.ProgressChanged(progress_);
    env_.progress.ShowProgress(true);
    return std::nullopt;
}

DownloadSteps UploadRun::Steps() {
    DownloadSteps steps;
    steps.acknowledged = [this] {
        progress_.Step();
        env_.progress.ProgressChanged(progress_);
    };
    steps.restarted = [this](int retry, int retries) {
        progress_.Restart(retry, retries);
        env_.progress.ProgressChanged(progress_);
    };
    return steps;
}

UploadResult UploadRun::Finish(bool stored) {
    env_.progress.TransferEnded();
    std::error_code ec;
    fs::remove(image_, ec);
    if (stored) {
        progress_.Complete();
        env_.progress.ProgressChanged(progress_);
    }
    const bool cancelled = !stored && env_.link.Cancelled();
    std::string text = stored ? kDownloaded : cancelled ? kDownloadCancelled : kDownloadError;
    if (const std::string advice = cancelled ? std::string() : env_.link.Advice(stored);
        !advice.empty())
        text += "\n" + advice;
    env_.prompt.Message(text);
    return End(stored      ? UploadResult::Stored
               : cancelled ? UploadResult::Cancelled
                           : UploadResult::DownloadFailed);
}

UploadResult UploadRun::End(UploadResult result) {
    env_.progress.ShowProgress(false);
    env_.slots.RefreshSlots();
    if (readAgainAtEnd_)
        env_.slots.RefreshSlots();
    return result;
}

UploadResult OnUpload(const CombineLists& lists, const fs::path& repositoryRoot,
                      UploadEnvironment& env) {
    UploadRun run(repositoryRoot, env);
    if (const auto ended = run.Begin(lists))
        return *ended;
    return run.Finish(env.link.Download(run.Image(), run.Slot(), run.Steps()));
}

UploadResult BuildAndDownload(const std::vector<std::string>& slotTexts, const fs::path& root,
                              const std::vector<std::string>& fileNames, const std::string& marker,
                              UploadEnvironment& env) {
    UploadRun run(root, env);
    if (const auto ended = run.Build(slotTexts, fileNames, marker))
        return *ended;
    return run.Finish(env.link.Download(run.Image(), run.Slot(), run.Steps()));
}

}  // namespace vantrel
