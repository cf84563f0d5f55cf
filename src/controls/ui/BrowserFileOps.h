#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

// Deletes the named items of a folder: a folder with everything inside it, anything else as a
// file. A symbolic link is removed itself, never what it points to. Failures are silent.
void DeleteBrowserItems(const std::filesystem::path& folder, const std::vector<std::string>& names);

// Renames an item of a folder. Answers the system's description of the failure, or nullopt on
// success. An existing item of the new name is never replaced, and a new name that would move
// the item into another folder is refused.
std::optional<std::string> RenameBrowserItem(const std::filesystem::path& folder,
                                             const std::string& oldName,
                                             const std::string& newName);

}  // namespace vantrel
