#include "repository/InstallLayout.h"

#include <system_error>

#include "repository/ModuleDirectory.h"

#ifndef VANTREL_DOCDIR_FROM_BINDIR
#define VANTREL_DOCDIR_FROM_BINDIR "../share/doc/vantrel"
#endif

namespace vantrel {

namespace fs = std::filesystem;

namespace {
constexpr const char* kUserGuide = "user-guide.html";
}

InstallLayout FindInstallLayout(const fs::path& programFolder) {
    const fs::path beside = programFolder / kUserGuide;
    const fs::path installed =
        (programFolder / VANTREL_DOCDIR_FROM_BINDIR / kUserGuide).lexically_normal();
    std::error_code ec;
    if (!programFolder.empty() && !fs::exists(beside, ec) && fs::is_regular_file(installed, ec)) {
        return {installed, true};
    }
    return {beside, false};
}

const InstallLayout& ThisInstallLayout() {
    static const InstallLayout layout = FindInstallLayout(ModuleDirectory());
    return layout;
}

}  // namespace vantrel
