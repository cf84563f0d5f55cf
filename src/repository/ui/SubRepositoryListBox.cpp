#include "repository/ui/SubRepositoryListBox.h"

#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <algorithm>

#include "widgets/FileDrops.h"

namespace vantrel {

namespace {

bool IsImportable(const QMimeData* data) {
    return data != nullptr && (data->hasFormat(QString::fromLatin1(kBrowserSelectionMime)) ||
                               !LocalFilesOf(*data).isEmpty());
}

}  // namespace

SubRepositoryListBox::SubRepositoryListBox(SubRepository sub, QWidget* parent)
    : QListWidget(parent), sub_(sub) {
    setSelectionMode(sub == SubRepository::Fill ? QAbstractItemView::ExtendedSelection
                                                : QAbstractItemView::SingleSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShape(QFrame::StyledPanel);
    setUniformItemSizes(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setObjectName(QString::fromUtf8(SubRepositoryName(sub).data()));
}

void SubRepositoryListBox::SetNames(QStringList names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    clear();
    addItems(names);
}

QStringList SubRepositoryListBox::SelectedNames() const {
    QStringList names;
    for (int row = 0; row < count(); ++row) {
        if (item(row)->isSelected()) {
            names.push_back(item(row)->text());
        }
    }
    return names;
}

void SubRepositoryListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QListWidget::mousePressEvent(event);
        return;
    }
    // A right press never reaches the view's own handling: that would select whatever item
    // sits under the cursor after a menu command has refilled the list.
    event->accept();
    RequestMenuAt(event->position().toPoint());
}

void SubRepositoryListBox::RequestMenuAt(const QPoint& viewportPosition) {
    QListWidgetItem* hit = itemAt(viewportPosition);
    if (hit == nullptr) {
        return;
    }
    if (sub_ == SubRepository::Fill) {
        hit->setSelected(true);
    } else {
        setCurrentItem(hit, QItemSelectionModel::ClearAndSelect);
    }
    Q_EMIT MenuRequested(viewport()->mapToGlobal(viewportPosition));
}

void SubRepositoryListBox::dragEnterEvent(QDragEnterEvent* event) {
    // Accepting shows the arrow cursor over the list, ignoring the no-entry one.
    dragMoveEvent(event);
}

void SubRepositoryListBox::dragMoveEvent(QDragMoveEvent* event) {
    if (IsImportable(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void SubRepositoryListBox::dropEvent(QDropEvent* event) {
    const QMimeData* mime = event->mimeData();
    if (!IsImportable(mime)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (mime->hasFormat(QString::fromLatin1(kBrowserSelectionMime))) {
        Q_EMIT BrowserSelectionDropped();
    } else {
        Q_EMIT FilesDropped(LocalFilesOf(*mime));
    }
}

}  // namespace vantrel
