#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

// The named items of a folder that exist (a dangling symbolic link counts), in the order named.
std::vector<std::filesystem::path> ExistingBrowserItems(const std::filesystem::path& folder,
                                                        const std::vector<std::string>& names);

// Deletes an item for good: a folder with everything inside it, anything else as a file. A
// symbolic link is removed itself, never what it points to. Failures are silent.
void DeleteBrowserItem(const std::filesystem::path& item);

// Renames an item of a folder. Answers the system's description of the failure, or nullopt on
// success. An existing item of the new name is never replaced, and a new name that would move
// the item into another folder is refused.
std::optional<std::string> RenameBrowserItem(const std::filesystem::path& folder,
                                             const std::string& oldName,
                                             const std::string& newName);

}  // namespace vantrel
