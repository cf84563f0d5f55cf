#include "controls/ui/CCJShellTree.h"

#include <QFileInfo>
#include <QHeaderView>

#include "common/UserPrompt.h"
#include "controls/ui/FolderTreeModel.h"

namespace vantrel {

CCJShellTree::CCJShellTree(UserPrompt& prompt, QWidget* parent)
    : QTreeView(parent), prompt_(prompt), model_(new FolderTreeModel(this)) {
    setModel(model_);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    setObjectName(QStringLiteral("CBottomLeftView"));
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    Q_EMIT FolderChosen(model_->FilePath(current));
                }
            });
}

bool CCJShellTree::SelectFolder(const QString& path) {
    const QFileInfo info(path);
    if (!info.isDir()) {
        prompt_.Message(path.toStdString());
        return false;
    }
    const QModelIndex index = model_->IndexOf(info.absoluteFilePath());
    if (!index.isValid()) {
        // A folder the tree does not show (a hidden one): the list still shows it.
        Q_EMIT FolderChosen(info.absoluteFilePath());
        return true;
    }
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent()) {
        expand(parent);
    }
    if (index == currentIndex()) {
        Q_EMIT FolderChosen(model_->FilePath(index));
    } else {
        setCurrentIndex(index);
    }
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    return true;
}

QString CCJShellTree::CurrentFolder() const {
    return model_->FilePath(currentIndex());
}

}  // namespace vantrel
