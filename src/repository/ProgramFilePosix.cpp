#include <system_error>

#include "repository/ProgramFile.h"

namespace vantrel {

std::filesystem::path ProgramFilePath() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : program;
}

}  // namespace vantrel
