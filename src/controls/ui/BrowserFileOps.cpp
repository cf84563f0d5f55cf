#include "controls/ui/BrowserFileOps.h"

#include <system_error>

namespace vantrel {

namespace fs = std::filesystem;

void DeleteBrowserItems(const fs::path& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const fs::path path = folder / name;
        std::error_code error;
        const fs::file_status status = fs::symlink_status(path, error);
        if (error) {
            continue;
        }
        if (fs::is_directory(status)) {
            fs::remove_all(path, error);
        } else {
            fs::remove(path, error);
        }
    }
}

std::optional<std::string> RenameBrowserItem(const fs::path& folder, const std::string& oldName,
                                             const std::string& newName) {
    const fs::path newPart(newName);
    if (newName.empty() || newPart.has_parent_path() || newPart.filename() != newPart ||
        newName == "." || newName == "..") {
        return std::make_error_code(std::errc::invalid_argument).message();
    }
    const fs::path target = folder / newPart;
    std::error_code error;
    // On a file system that ignores letter case the new name may be the item itself.
    if (fs::exists(fs::symlink_status(target, error)) &&
        !fs::equivalent(folder / oldName, target, error)) {
        return std::make_error_code(std::errc::file_exists).message();
    }
    fs::rename(folder / oldName, target, error);
    if (error) {
        return error.message();
    }
    return std::nullopt;
}

}  // namespace vantrel
