#include "combine/ui/CombineListCtrl.h"

#include <QDesktopServices>
#include <QDropEvent>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QMimeData>
#include <QUrl>

#include "repository/ui/SubRepositoryListBox.h"
#include "widgets/QtPaths.h"

namespace vantrel {

namespace {

bool CarriesFiles(const QMimeData* data) {
    return data != nullptr && !LocalFilesOf(*data).isEmpty();
}

}  // namespace

CombineListCtrl::CombineListCtrl(const QString& heading, std::filesystem::path folder,
                                 QWidget* parent)
    : QTreeWidget(parent),
      folder_(std::move(folder)),
      menuRunner_(ExecMenu()),
      openFile_([](const std::filesystem::path& file) {
          QDesktopServices::openUrl(QUrl::fromLocalFile(FromFsPath(file)));
      }) {
    setObjectName(QStringLiteral("CombineListCtrl") + heading);
    setColumnCount(1);
    setHeaderLabels({heading});
    header()->setSectionsClickable(false);
    setColumnWidth(0, 150);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &CombineListCtrl::ShowMenu);
}

void CombineListCtrl::AddListItem(const std::filesystem::path& path) {
    // The plain file name, not a display name that may hide the extension: removing and opening
    // a row find its file from this text.
    auto* item = new QTreeWidgetItem(this, {FromFsPath(path.filename())});
    item->setIcon(0, QFileIconProvider().icon(QFileInfo(FromFsPath(path))));
}

void CombineListCtrl::ShowMenu(const QPoint& viewportPosition) {
    ShowDeleteRefreshMenu(
        *this, viewportPosition, menuRunner_, [this] { OnDelete(); },
        [this] { emit EntriesRefreshRequested(); });
}

void CombineListCtrl::OnDelete() {
    QStringList names;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        if (topLevelItem(row)->isSelected()) {
            names.push_back(topLevelItem(row)->text(0));
        }
    }
    if (names.isEmpty()) {
        return;
    }
    for (const QString& name : names) {
        emit EntryRemoveRequested(name);
    }
    emit EntriesRefreshRequested();
}

void CombineListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (item == nullptr) {
        return;
    }
    openFile_(folder_ / ToFsPath(item->text(0)));
}

void CombineListCtrl::dragEnterEvent(QDragEnterEvent* event) {
    if (CarriesFiles(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void CombineListCtrl::dragMoveEvent(QDragMoveEvent* event) {
    if (CarriesFiles(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void CombineListCtrl::dropEvent(QDropEvent* event) {
    const QStringList paths = event->mimeData() ? LocalFilesOf(*event->mimeData()) : QStringList();
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit FilesDropped(paths);
}

}  // namespace vantrel
