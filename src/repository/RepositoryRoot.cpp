#include "repository/RepositoryRoot.h"

#include "common/Utf8Path.h"
#include "repository/InstallLayout.h"
#include "repository/ModuleDirectory.h"

namespace vantrel {

namespace fs = std::filesystem;

RepositoryRootChoice ChooseRepositoryRoot(const fs::path& programFolder, bool programFolderWritable,
                                          const std::string& xdgDataHome, const std::string& home) {
    if (!programFolder.empty() && programFolderWritable) {
        return {programFolder / "Repository", true};
    }
    fs::path dataFolder;
    if (!xdgDataHome.empty() && PathFromUtf8(xdgDataHome).is_absolute()) {
        dataFolder = PathFromUtf8(xdgDataHome);
    } else if (!home.empty()) {
        dataFolder = PathFromUtf8(home) / ".local" / "share";
    } else {
        dataFolder = fs::temp_directory_path() / ".local" / "share";
    }
    return {dataFolder / "vantrel" / "Repository", false};
}

RepositoryRootChoice DefaultRepositoryRoot() {
    const fs::path& program = ModuleDirectory();
    // An installed program's folder (/usr/bin) is the system's, even where it is writable, as
    // it is for root: the repository then always lies in the user's data folder.
    if (!program.empty() && !ThisInstallLayout().installed && FolderWritable(program))
        return {program / "Repository", true};
    return {UserDataRepositoryRoot(), false};
}

std::string DescribeDefaultRepositoryRoot() {
    const RepositoryRootChoice choice = DefaultRepositoryRoot();
    return choice.root.string() +
           (choice.besideProgram            ? " (beside the program, whose folder is writable)"
            : ThisInstallLayout().installed ? " (in the user's data folder)"
                                            : " (in the user's data folder, since the program's "
                                              "folder is not writable)");
}

}  // namespace vantrel
