#include "controls/ui/BrowserFileOps.h"

#include <system_error>

namespace vantrel {

namespace fs = std::filesystem;

std::vector<fs::path> ExistingBrowserItems(const fs::path& folder,
                                           const std::vector<std::string>& names) {
    std::vector<fs::path> items;
    for (const std::string& name : names) {
        fs::path path = folder / name;
        std::error_code error;
        if (fs::exists(fs::symlink_status(path, error))) {
            items.push_back(std::move(path));
        }
    }
    return items;
}

void DeleteBrowserItem(const fs::path& item) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(item, error);
    if (error) {
        return;
    }
    if (fs::is_directory(status)) {
        fs::remove_all(item, error);
    } else {
        fs::remove(item, error);
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
