#include "widgets/FileTrash.h"

#include <QFile>
#include <system_error>

#include "common/UserPrompt.h"
#include "widgets/QtPaths.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

class DesktopTrash final : public FileTrash {
  public:
    bool MoveToTrash(const fs::path& path) override { return QFile::moveToTrash(FromFsPath(path)); }
};

FileTrash*& TrashSetting() {
    static FileTrash* trash = nullptr;
    return trash;
}

bool StillThere(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

}  // namespace

FileTrash& CurrentTrash() {
    static DesktopTrash desktop;
    FileTrash* chosen = TrashSetting();
    return chosen != nullptr ? *chosen : desktop;
}

void UseTrash(FileTrash* trash) {
    TrashSetting() = trash;
}

std::vector<fs::path> DiscardItems(const std::vector<fs::path>& items, UserPrompt& prompt,
                                   const std::function<void(const fs::path&)>& removeForGood) {
    std::vector<fs::path> refused;
    for (const fs::path& item : items) {
        if (!CurrentTrash().MoveToTrash(item)) {
            refused.push_back(item);
        }
    }
    if (refused.empty()) {
        return {};
    }
    std::string detail = "There is no trash to keep these in:";
    for (const fs::path& item : refused) {
        detail += "\n" + item.filename().string();
    }
    if (prompt.AskWithDetail("Delete for good?", PromptButtons::YesNo, detail) ==
        PromptAnswer::Yes) {
        for (const fs::path& item : refused) {
            removeForGood(item);
        }
    }
    std::vector<fs::path> left;
    for (const fs::path& item : refused) {
        if (StillThere(item)) {
            left.push_back(item);
        }
    }
    return left;
}

}  // namespace vantrel
