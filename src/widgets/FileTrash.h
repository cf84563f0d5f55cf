#pragma once

#include <filesystem>
#include <functional>
#include <vector>

namespace vantrel {

class UserPrompt;

// Where deleted files go: the desktop's trash, so that one wrong click can be undone. Tests put
// their own in place to stand for a system with a trash or one without.
class FileTrash {
  public:
    virtual ~FileTrash() = default;
    // Moves a file, or a folder with all it holds, into the trash. False when there is no trash
    // or it does not take the item; the item is then where it was.
    virtual bool MoveToTrash(const std::filesystem::path& path) = 0;
};

// The trash deletes go to; the desktop's unless UseTrash put another in place.
FileTrash& CurrentTrash();
// nullptr puts the desktop's trash back. The trash must outlive its use.
void UseTrash(FileTrash* trash);

// Moves each item to the current trash. What the trash does not take is deleted for good only
// after a Yes to "Delete for good?", whose detail names those items; removeForGood deletes one.
// Answers the items that are still there.
std::vector<std::filesystem::path> DiscardItems(
    const std::vector<std::filesystem::path>& items, UserPrompt& prompt,
    const std::function<void(const std::filesystem::path&)>& removeForGood);

}  // namespace vantrel
