#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "combine/StyleBuild.h"
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

// The "Upload" button. In this order, each failure stopping with its message: the link
// ("Please connect device！"), the three lists ("Intro,Fill, Ending list can not be empty！"),
// the tempo and time signature of every file against the others (file name +
// "The beat or tempo is inconsistent！"), the target slot; then BuildAndDownload, and the slot
// list is read again.
UploadResult OnUpload(const CombineLists& lists, const std::filesystem::path& repositoryRoot,
                      UploadEnvironment& environment);

// Builds the image of the named parts, writes it as repositoryRoot/"Total.mix", sends it into
// the first slot whose text equals the marker with one progress step per acknowledged packet,
// removes the file again and shows "Download successfully!", "  Download error!" or, when the
// user cancelled the transfer, "Download cancelled". The slot
// list is read again afterwards unless the build failed.
UploadResult BuildAndDownload(const std::vector<std::string>& slotTexts,
                              const std::filesystem::path& repositoryRoot,
                              const std::vector<std::string>& fileNames, const std::string& marker,
                              UploadEnvironment& environment);

// The image file's name in the repository root; it exists only while it is being sent.
inline constexpr const char* kCombinedImageName = "Total.mix";

}  // namespace vantrel
