#pragma once

#include <filesystem>
#include <vector>

#include "repository/ImportFiles.h"

namespace vantrel {

// ImportFiles for full paths, as files dropped from the desktop arrive: consecutive paths of one
// folder are imported together, so the messages and questions name bare file names, and a
// Cancel at an overwrite question stops every path after it. The outcome gathers all calls.
ImportOutcome ImportPaths(const std::vector<std::filesystem::path>& paths,
                          const std::filesystem::path& targetFolder, bool validate,
                          UserPrompt& prompt);

}  // namespace vantrel
