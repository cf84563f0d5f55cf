#include "repository/ImportFiles.h"

#include <system_error>

#include "common/AtomicFile.h"
#include "common/DetailPrompt.h"
#include "common/Utf8Path.h"
#include "midi/MidiReadProblem.h"
#include "pattern/PatternCheck.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

// The detail under "NAME:  File is not supported!": why the file cannot be read at all, or else
// what the check said about it (its own boxes have been shown by then, each naming the file).
std::string RefusalReason(const fs::path& source, const std::vector<std::string>& checkMessages) {
    if (auto problem = DescribeReadProblem(source))
        return *problem;
    std::string reason;
    for (const std::string& message : checkMessages)
        reason += (reason.empty() ? "" : "\n") + message;
    return reason;
}

}  // namespace

ImportOutcome ImportFiles(const std::vector<std::string>& names, const fs::path& sourceFolder,
                          const fs::path& targetFolder, bool validate, UserPrompt& prompt) {
    ImportOutcome outcome;
    for (const std::string& name : names) {
        const fs::path source = sourceFolder / PathFromUtf8(name);
        const fs::path target = targetFolder / source.filename();
        std::error_code ec;
        if (!fs::exists(source, ec) || fs::is_directory(source, ec))
            continue;
        if (validate) {
            DetailPrompt naming(prompt, source.filename().string());
            if (!CheckPatternFile(source, naming).empty()) {
                // The one box that tells of a refused file; an offer to mend the file goes here.
                prompt.MessageWithDetail(name + ":  File is not supported!",
                                         RefusalReason(source, naming.MessagesShown()));
                outcome.notSupported.push_back(name);
                continue;
            }
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
