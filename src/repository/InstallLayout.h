#pragma once

#include <filesystem>

namespace vantrel {

// The files that come with the program lie beside it in its build folder, and under the install
// prefix once installed: the programs in PREFIX/bin, the user guide in PREFIX/share/doc/vantrel.
// An installed program is recognised by its user guide there, so a copy of the build folder
// still runs as a build folder does.
struct InstallLayout {
    std::filesystem::path userGuide;
    bool installed = false;
};

// The rule itself, for the folder that holds the program file.
InstallLayout FindInstallLayout(const std::filesystem::path& programFolder);

// The rule applied to this process, worked out once.
const InstallLayout& ThisInstallLayout();

}  // namespace vantrel
