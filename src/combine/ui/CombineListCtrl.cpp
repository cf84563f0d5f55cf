#include "combine/ui/CombineListCtrl.h"

#include <QDropEvent>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QMimeData>
#include <QStyle>
#include <algorithm>
#include <utility>

#include "combine/PartBlockBytes.h"
#include "combine/PartTexts.h"
#include "common/GroupedNumber.h"
#include "widgets/DesktopOpen.h"
#include "widgets/FileDrops.h"
#include "widgets/ListKeys.h"
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
          (void)DesktopOpenerOfSystem()(FromFsPath(file));
      }) {
    setObjectName(QStringLiteral("CombineListCtrl") + heading);
    // The name stays in column 0, which removing and opening read.
    setColumnCount(4);
    setHeaderLabels(
        {heading, QStringLiteral("Beat"), QStringLiteral("Tempo"), QStringLiteral("Bytes")});
    header()->setSectionsClickable(false);
    // The pane is narrow: Beat, Tempo and Bytes keep the width of their widest text and the name
    // takes the rest, so every column stays in sight without scrolling sideways.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    const int padding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 2;
    for (const auto& [column, widest] :
         {std::pair{kBeatColumn, QStringLiteral("12/8")},
          std::pair{kTempoColumn, QStringLiteral("BPM: 300")},
          std::pair{kBytesColumn, QStringLiteral("2,048 / 2,048")}}) {
        const QString title = headerItem()->text(column);
        header()->setSectionResizeMode(column, QHeaderView::Fixed);
        setColumnWidth(column, std::max(fontMetrics().horizontalAdvance(widest),
                                        fontMetrics().horizontalAdvance(title)) +
                                   padding);
    }
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &CombineListCtrl::ShowMenu);
    InstallListKeys(*this, {[this] { OnDelete(); }, [this](const QPoint& at) { ShowMenu(at); },
                            [this] { OpenItem(currentItem()); }});
}

int CombineListCtrl::OneRowHeight() const {
    // A row is as high as its icon or its text, whichever is higher, with the item's margins.
    const int row =
        std::max(iconSize().isValid() ? iconSize().height() : 16, fontMetrics().height()) + 6;
    return header()->sizeHint().height() + row + 2 * frameWidth();
}

void CombineListCtrl::AddListItem(const std::filesystem::path& path, const PartTexts& texts,
                                  const PartBlockBytes& bytes) {
    // The plain file name, not a display name that may hide the extension: removing and opening
    // a row find its file from this text.
    auto* item = new QTreeWidgetItem(this, {FromFsPath(path.filename())});
    item->setIcon(0, QFileIconProvider().icon(QFileInfo(FromFsPath(path))));
    item->setText(kBeatColumn, QString::fromStdString(texts.timeSignature.value_or("")));
    item->setText(kTempoColumn, QString::fromStdString(texts.tempo.value_or("")));
    item->setText(kBytesColumn, QString::fromStdString(BytesAgainstBlock(bytes)));
    item->setTextAlignment(kBytesColumn, Qt::AlignRight | Qt::AlignVCenter);
    // A narrow pane hides the columns beside the name; the name's tooltip says the same.
    const std::string beatAndTempo = BeatAndTempo(texts);
    item->setToolTip(0, QString::fromStdString((beatAndTempo.empty() ? "" : beatAndTempo + "; ") +
                                               BytesAgainstBlock(bytes) + " bytes"));
    if (!bytes.used) {
        item->setToolTip(kBytesColumn, QStringLiteral("File is not supported!"));
    } else if (!bytes.Fits()) {
        item->setForeground(kBytesColumn, QColor(Qt::red));
        item->setToolTip(
            kBytesColumn,
            QStringLiteral("Over by %1 bytes: the upload will refuse it")
                .arg(QString::fromStdString(GroupedNumber(*bytes.used - bytes.capacity))));
    }
}

void CombineListCtrl::ShowMenu(const QPoint& viewportPosition) {
    ShowDeleteRefreshMenu(
        *this, viewportPosition, menuRunner_, [this] { OnDelete(); },
        [this] { Q_EMIT EntriesRefreshRequested(); });
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
        Q_EMIT EntryRemoveRequested(name);
    }
    Q_EMIT EntriesRefreshRequested();
}

void CombineListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    OpenItem(itemAt(event->position().toPoint()));
}

void CombineListCtrl::OpenItem(const QTreeWidgetItem* item) {
    if (item != nullptr) {
        openFile_(folder_ / ToFsPath(item->text(0)));
    }
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
    Q_EMIT FilesDropped(paths);
}

}  // namespace vantrel
