#pragma once

#include <filesystem>

namespace vantrel {

// The running program's own file, as the system knows it; empty when it cannot say.
std::filesystem::path ProgramFilePath();

}  // namespace vantrel
