#include "repository/ModuleDirectory.h"

#include <system_error>

#include "repository/ProgramFile.h"

namespace vantrel {

namespace fs = std::filesystem;

const fs::path& ModuleDirectory() {
    static const fs::path directory = [] {
        const fs::path program = ProgramFilePath();
        return program.empty() ? fs::path() : program.parent_path();
    }();
    return directory;
}

void EnsureFolderPath(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
}

}  // namespace vantrel
