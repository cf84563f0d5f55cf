#include "repository/ModuleDirectory.h"

#include <system_error>

namespace vantrel {

namespace fs = std::filesystem;

const fs::path& ModuleDirectory() {
    static const fs::path directory = [] {
        std::error_code ec;
        const fs::path program = fs::read_symlink("/proc/self/exe", ec);
        return ec ? fs::path() : program.parent_path();
    }();
    return directory;
}

void EnsureFolderPath(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
}

}  // namespace vantrel
