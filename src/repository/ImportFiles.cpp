#include "repository/ImportFiles.h"

#include <system_error>

#include "common/AtomicFile.h"
#include "common/UserPrompt.h"
#include "pattern/PatternCheck.h"

namespace vantrel {

namespace fs = std::filesystem;

ImportOutcome ImportFiles(const std::vector<std::string>& names, const fs::path& sourceFolder,
                          const fs::path& targetFolder, bool validate, UserPrompt& prompt) {
    ImportOutcome outcome;
    for (const std::string& name : names) {
        const fs::path source = sourceFolder / name;
        const fs::path target = targetFolder / fs::path(name).filename();
        std::error_code ec;
        if (!fs::exists(source, ec) || fs::is_directory(source, ec))
            continue;
        if (validate && !CheckPatternFile(source, prompt).empty()) {
            prompt.Message(name + ":  File is not supported!");
            outcome.notSupported.push_back(name);
            continue;
        }
        if (fs::exists(target, ec)) {
            const PromptAnswer answer =
                prompt.Ask("Overwrite " + name + "?", PromptButtons::YesNoCancel);
            if (answer == PromptAnswer::No)
                continue;
            if (answer == PromptAnswer::Cancel) {
                outcome.cancelled = true;
                break;
            }
        }
        if (CopyFileAtomically(source, target, true))
            outcome.copied.push_back(name);
    }
    return outcome;
}

}  // namespace vantrel
