#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <memory>
#include <vector>

namespace vantrel {

// The folders of the file system as a tree, read one level at a time when a branch is first
// opened. Only folders are read, so a folder holding thousands of files costs no more than its
// sub-folders; hidden folders are left out. The top is "/" on Unix and the drives on Windows.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    explicit FolderTreeModel(QObject* parent = nullptr);
    ~FolderTreeModel() override;

    // The item of a folder, reading the levels above it as needed; invalid when the path is not
    // under one of the top items.
    QModelIndex IndexOf(const QString& folder);
    QString FilePath(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

  private:
    struct Node;
    Node* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOfNode(Node* node) const;

    std::unique_ptr<Node> root_;
    QIcon folderIcon_;
};

}  // namespace vantrel
