#include "repository/ImportFitted.h"

#include "common/AtomicFile.h"
#include "common/ScopedTempDir.h"
#include "common/Utf8Path.h"

namespace vantrel {

ImportOutcome ImportFitted(const std::filesystem::path& source, const FitResult& fitted,
                           const std::filesystem::path& targetFolder, UserPrompt& prompt) {
    ImportOutcome outcome;
    const std::string name = source.filename().string();
    ScopedTempDir staging;
    if (fitted.refused || !fitted.checkErrors.empty() || !staging.Valid() ||
        !WriteFileAtomically(staging.Path() / PathFromUtf8(name), fitted.output)) {
        outcome.notSupported.push_back(name);
        return outcome;
    }
    return ImportFiles({name}, staging.Path(), targetFolder, true, prompt);
}

}  // namespace vantrel
