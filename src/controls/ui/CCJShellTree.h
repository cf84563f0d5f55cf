#pragma once

#include <QTreeView>

namespace vantrel {

class FolderTreeModel;
class UserPrompt;

// The folder tree of the file browser, rooted at the top of the file system (the drives on
// Windows). Hidden folders are left out. Choosing a folder tells the linked file list.
// Branches are read when opened; a folder changed by another program shows its new sub-folders
// after Refresh.
class CCJShellTree : public QTreeView {
    Q_OBJECT
  public:
    explicit CCJShellTree(UserPrompt& prompt, QWidget* parent = nullptr);

    // Selects a folder, opening the tree down to it, and announces it even when it was already
    // the current one. A path that is not a folder shows the path and answers false.
    bool SelectFolder(const QString& path);
    QString CurrentFolder() const;

  Q_SIGNALS:
    void FolderChosen(const QString& path);

  private:
    UserPrompt& prompt_;
    FolderTreeModel* model_;
};

}  // namespace vantrel
