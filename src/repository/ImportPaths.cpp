#include "repository/ImportPaths.h"

#include <string>

namespace vantrel {

namespace fs = std::filesystem;

ImportOutcome ImportPaths(const std::vector<fs::path>& paths, const fs::path& targetFolder,
                          bool validate, UserPrompt& prompt) {
    ImportOutcome outcome;
    for (std::size_t first = 0; first < paths.size() && !outcome.cancelled;) {
        const fs::path folder = paths[first].parent_path();
        std::vector<std::string> names;
        std::size_t next = first;
        for (; next < paths.size() && paths[next].parent_path() == folder; ++next)
            names.push_back(paths[next].filename().string());
        first = next;
        ImportOutcome part = ImportFiles(names, folder, targetFolder, validate, prompt);
        outcome.copied.insert(outcome.copied.end(), part.copied.begin(), part.copied.end());
        outcome.notSupported.insert(outcome.notSupported.end(), part.notSupported.begin(),
                                    part.notSupported.end());
        outcome.cancelled = part.cancelled;
    }
    return outcome;
}

}  // namespace vantrel
