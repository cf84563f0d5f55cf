#include "controls/ui/FolderTreeModel.h"

#include <QDir>
#include <QDirIterator>
#include <QFileIconProvider>
#include <algorithm>

namespace vantrel {

struct FolderTreeModel::Node {
    QString name;
    QString path;
    Node* parent = nullptr;
    int row = 0;
    bool fetched = false;
    std::vector<std::unique_ptr<Node>> children;

    Node* Add(QString childName, QString childPath) {
        auto child = std::make_unique<Node>();
        child->name = std::move(childName);
        child->path = std::move(childPath);
        child->parent = this;
        child->row = static_cast<int>(children.size());
        children.push_back(std::move(child));
        return children.back().get();
    }
};

namespace {

#ifdef _WIN32
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

QStringList SubFolders(const QString& path) {
    QStringList names;
    QDirIterator it(path, QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        names.push_back(it.fileName());
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

}  // namespace

FolderTreeModel::FolderTreeModel(QObject* parent)
    : QAbstractItemModel(parent),
      root_(std::make_unique<Node>()),
      folderIcon_(QFileIconProvider().icon(QAbstractFileIconProvider::Folder)) {
    root_->fetched = true;
    for (const QFileInfo& drive : QDir::drives()) {
        const QString path = drive.absoluteFilePath();
        root_->Add(path, path);
    }
}

FolderTreeModel::~FolderTreeModel() = default;

FolderTreeModel::Node* FolderTreeModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : root_.get();
}

QModelIndex FolderTreeModel::IndexOfNode(Node* node) const {
    return node == root_.get() ? QModelIndex() : createIndex(node->row, 0, node);
}

QModelIndex FolderTreeModel::IndexOf(const QString& folder) {
    const QString target = QDir::cleanPath(QDir(folder).absolutePath());
    Node* node = root_.get();
    while (true) {
        Node* next = nullptr;
        for (const auto& child : node->children) {
            const QString prefix = child->path.endsWith(u'/') ? child->path : child->path + u'/';
            if (QString::compare(child->path, target, kPathCase) == 0) {
                return IndexOfNode(child.get());
            }
            if (target.startsWith(prefix, kPathCase)) {
                next = child.get();
                break;
            }
        }
        if (next == nullptr) {
            return {};
        }
        const QModelIndex index = IndexOfNode(next);
        if (canFetchMore(index)) {
            fetchMore(index);
        }
        node = next;
    }
}

QString FolderTreeModel::FilePath(const QModelIndex& index) const {
    return index.isValid() ? NodeOf(index)->path : QString();
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const Node* node = NodeOf(parent);
    if (column != 0 || row < 0 || row >= static_cast<int>(node->children.size())) {
        return {};
    }
    return createIndex(row, 0, node->children[static_cast<std::size_t>(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) {
        return {};
    }
    return IndexOfNode(NodeOf(child)->parent);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    return parent.column() > 0 ? 0 : static_cast<int>(NodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex& /*parent*/) const {
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return role == Qt::DisplayRole ? NodeOf(index)->name : NodeOf(index)->path;
    }
    if (role == Qt::DecorationRole) {
        return folderIcon_;
    }
    return {};
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    const Node* node = NodeOf(parent);
    // Unread folders offer to open; reading them shows whether they hold any folder.
    return !node->fetched || !node->children.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    return !NodeOf(parent)->fetched;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    Node* node = NodeOf(parent);
    if (node->fetched) {
        return;
    }
    node->fetched = true;
    const QStringList names = SubFolders(node->path);
    if (names.isEmpty()) {
        // The expand mark goes away.
        Q_EMIT dataChanged(parent, parent);
        return;
    }
    beginInsertRows(parent, 0, static_cast<int>(names.size()) - 1);
    const QDir dir(node->path);
    for (const QString& name : names) {
        node->Add(name, QDir::cleanPath(dir.filePath(name)));
    }
    endInsertRows();
}

}  // namespace vantrel
