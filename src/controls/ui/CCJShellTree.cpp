#include "controls/ui/CCJShellTree.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>

#include "common/UserPrompt.h"

namespace vantrel {

CCJShellTree::CCJShellTree(UserPrompt& prompt, QWidget* parent)
    : QTreeView(parent), prompt_(prompt), model_(new QFileSystemModel(this)) {
    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);
    model_->setRootPath(QString());
    setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) {
        hideColumn(column);
    }
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    setObjectName(QStringLiteral("CBottomLeftView"));
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    emit FolderChosen(model_->filePath(current));
                }
            });
    // The model reads folders in the background; once the current one is read, show it.
    connect(model_, &QFileSystemModel::directoryLoaded, this,
            [this] { scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter); });
}

bool CCJShellTree::SelectFolder(const QString& path) {
    const QFileInfo info(path);
    if (!info.isDir()) {
        prompt_.Message(path.toStdString());
        return false;
    }
    const QModelIndex index = model_->index(info.absoluteFilePath());
    if (!index.isValid()) {
        emit FolderChosen(info.absoluteFilePath());
        return true;
    }
    if (index == currentIndex()) {
        emit FolderChosen(model_->filePath(index));
    } else {
        setCurrentIndex(index);
    }
    expand(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    return true;
}

QString CCJShellTree::CurrentFolder() const {
    return currentIndex().isValid() ? model_->filePath(currentIndex()) : QString();
}

}  // namespace vantrel
