#pragma once

#include <filesystem>
#include <string>

namespace vantrel {

// Where the repository lies by default: "Repository" beside the program when the program runs
// from a writable folder that is not an install prefix's bin folder, otherwise "vantrel/Repository"
// in the user's data folder
// ($XDG_DATA_HOME, or ~/.local/share when that is unset or not absolute; on Windows
// %LOCALAPPDATA%).
struct RepositoryRootChoice {
    std::filesystem::path root;
    bool besideProgram = false;
};

// The rule itself, with its inputs given (empty texts stand for unset variables).
RepositoryRootChoice ChooseRepositoryRoot(const std::filesystem::path& programFolder,
                                          bool programFolderWritable,
                                          const std::string& xdgDataHome, const std::string& home);

// The repository in the user's own data folder, for this system: the rule's second choice with
// this process's environment on Linux, "Vantrel\\Repository" in %LOCALAPPDATA% on Windows.
std::filesystem::path UserDataRepositoryRoot();

// Whether this process may make files in the folder.
bool FolderWritable(const std::filesystem::path& folder);

// The rule applied to this process: its program folder and environment.
RepositoryRootChoice DefaultRepositoryRoot();

// One line for help texts and listings: the default root and why it lies there.
std::string DescribeDefaultRepositoryRoot();

}  // namespace vantrel
