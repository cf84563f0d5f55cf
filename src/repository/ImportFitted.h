#pragma once

#include <filesystem>

#include "fit/FitResult.h"
#include "repository/ImportFiles.h"

namespace vantrel {

class UserPrompt;

// Imports the fitted copy of source into targetFolder under source's own file name, through the
// same check and overwrite question as any import. The copy is staged in a private temporary
// folder; source itself is never written. Nothing is imported when the fit does not pass the
// pattern rules.
ImportOutcome ImportFitted(const std::filesystem::path& source, const FitResult& fitted,
                           const std::filesystem::path& targetFolder, UserPrompt& prompt);

}  // namespace vantrel
