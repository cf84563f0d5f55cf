#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vantrel {

class UserPrompt;

// What an import did, for callers that report it (the window only reloads its lists).
struct ImportOutcome {
    std::vector<std::string> copied;        // names now in the target folder
    std::vector<std::string> notSupported;  // names that failed the pattern check
    bool cancelled = false;                 // Cancel at an overwrite question stopped the rest
};

// Copies each name of sourceFolder into targetFolder, in order. Names that do not exist or are
// folders are skipped. With validate set, each file is first converted as the keyboard would
// take it (into a private temporary folder, so nothing appears beside the file or in the
// repository); a failing file shows NAME + ":  File is not supported!" and is not copied, with
// the reason as the box's detail (why the file cannot be read, or what the check said); the
// check's own boxes carry the file's name as their detail. An
// existing target asks "Overwrite NAME?": No skips the name, Cancel stops the import. The copy
// goes to a temporary name in the target folder and is renamed into place, so an interrupted
// import never leaves a truncated file. A name may carry folders; the target keeps only its
// file name.
ImportOutcome ImportFiles(const std::vector<std::string>& names,
                          const std::filesystem::path& sourceFolder,
                          const std::filesystem::path& targetFolder, bool validate,
                          UserPrompt& prompt);

}  // namespace vantrel
