#pragma once

#include <filesystem>

namespace vantrel {

// The folder that holds the running program file. Computed on first use and kept for the life
// of the process; every later call returns the same path. Empty when the system cannot say.
const std::filesystem::path& ModuleDirectory();

// Creates every missing level of a folder path; existing levels are left alone. Silent: a level
// that cannot be created shows up later as a folder that lists empty.
void EnsureFolderPath(const std::filesystem::path& folder);

}  // namespace vantrel
