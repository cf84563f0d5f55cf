#include <unistd.h>

#include <cstdlib>

#include "repository/RepositoryRoot.h"

namespace vantrel {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::filesystem::path UserDataRepositoryRoot() {
    return ChooseRepositoryRoot({}, false, Environment("XDG_DATA_HOME"), Environment("HOME")).root;
}

bool FolderWritable(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

}  // namespace vantrel
