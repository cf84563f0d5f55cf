#include "controls/ui/CCJShellList.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QDrag>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <utility>

#include "common/UserPrompt.h"
#include "controls/ui/BrowserDragPicture.h"
#include "controls/ui/BrowserFileOps.h"
#include "controls/ui/CCJShellTree.h"
#include "controls/ui/ShellFolderReader.h"
#include "controls/ui/ShellListModel.h"
#include "widgets/DeleteRefreshMenu.h"
#include "widgets/DesktopOpen.h"
#include "widgets/FileDrops.h"
#include "widgets/FileTrash.h"
#include "widgets/ListKeys.h"
#include "widgets/QtPaths.h"
#include "widgets/SvgPixmap.h"

namespace vantrel {

namespace {

constexpr int kNameWidth = 150;
constexpr int kSongNameWidth = 100;
constexpr int kSizeWidth = 55;
constexpr int kTypeWidth = 75;
constexpr int kModifiedWidth = 110;

// The image is drawn 10 pixels right of and 14 below the cursor.
const QPoint kDragHotSpot(-10, -14);

}  // namespace

CCJShellList::CCJShellList(UserPrompt& prompt, ShellFilter filter, QWidget* parent)
    : QTreeView(parent),
      prompt_(prompt),
      model_(new ShellListModel(filter, this)),
      reader_(new ShellFolderReader(this)),
      menuRunner_(ExecMenu()),
      openFile_(DesktopOpenerOfSystem()) {
    options_.filter = filter;
    setObjectName(QStringLiteral("CBottomRightView"));
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    const bool midi = filter == ShellFilter::Midi;
    const std::vector<int> widths =
        midi ? std::vector<int>{kNameWidth, kSongNameWidth, kSizeWidth, kTypeWidth, kModifiedWidth}
             : std::vector<int>{kNameWidth, kSizeWidth, kTypeWidth, kModifiedWidth};
    for (std::size_t i = 0; i < widths.size(); ++i) {
        setColumnWidth(static_cast<int>(i), widths[i]);
    }
    // The times keep room for their whole text in the font the desktop uses.
    const int modified = model_->ColumnIndex(ShellListModel::Column::Modified);
    setColumnWidth(
        modified,
        std::max(kModifiedWidth,
                 fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000 00:00")) + 16));
    // Song names are the long texts: their column takes what the window gives beyond the
    // others' widths. Without it the last column does, so the times are not cut off.
    const int songName = model_->ColumnIndex(ShellListModel::Column::SongName);
    header()->setStretchLastSection(songName < 0);
    if (songName >= 0) {
        header()->setMinimumSectionSize(40);
        header()->setSectionResizeMode(songName, QHeaderView::Stretch);
    }

    connect(model_, &ShellListModel::RenameRequested, this, &CCJShellList::OnRename,
            Qt::QueuedConnection);
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { OpenRow(index.row()); });
    InstallListKeys(*this, {[this] { OnDelete(); }, [this](const QPoint& at) { ShowMenu(at); },
                            [this] { OpenRow(currentIndex().row()); }});
    connect(reader_, &ShellFolderReader::Listed, this,
            [this](quint64 request, const std::vector<ShellRow>& rows) {
                if (request == reader_->CurrentRequest()) {
                    ShowRows(rows);
                }
            });
    connect(reader_, &ShellFolderReader::NamesRead, this,
            [this](quint64 request, const QList<int>& rows, const QStringList& names) {
                if (request == reader_->CurrentRequest()) {
                    model_->SetSongNames(rows, names);
                }
            });
    connect(reader_, &ShellFolderReader::Finished, this, [this](quint64 request) {
        if (request == reader_->CurrentRequest()) {
            Q_EMIT SongNamesComplete();
        }
    });
}

CCJShellList::~CCJShellList() {
    SetListing(false);
}

void CCJShellList::SetTree(CCJShellTree* tree) {
    tree_ = tree;
    connect(tree_, &CCJShellTree::FolderChosen, this, &CCJShellList::Fill);
}

QStringList CCJShellList::SelectedNames() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList names;
    for (const QModelIndex& index : rows) {
        names.push_back(model_->Row(index.row()).name);
    }
    return names;
}

QMimeData* CCJShellList::SelectionMimeData() const {
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kBrowserSelectionMime), folder_.toUtf8());
    return mime;
}

void CCJShellList::Fill(const QString& folder) {
    folder_ = folder;
    // The old rows go at once, so nothing is done to a folder the list no longer shows.
    model_->SetRows({});
    SetListing(true);
    reader_->Start(folder, options_, model_->ColumnIndex(ShellListModel::Column::SongName) >= 0);
}

void CCJShellList::ShowRows(const std::vector<ShellRow>& rows) {
    model_->SetRows(rows);
    SelectPendingNames();
    SetListing(false);
    Q_EMIT Listed();
}

void CCJShellList::SelectPendingNames() {
    if (pendingSelection_.isEmpty()) {
        return;
    }
    const QStringList names = std::exchange(pendingSelection_, {});
    selectionModel()->clearSelection();
    bool first = true;
    for (int row = 0; row < model_->rowCount(); ++row) {
        if (!names.contains(model_->Row(row).name)) {
            continue;
        }
        const QModelIndex index = model_->index(row, 0);
        selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (first) {
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
            scrollTo(index);
            first = false;
        }
    }
}

void CCJShellList::SetListing(bool listing) {
    if (listing != listing_) {
        listing_ = listing;
        if (listing) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QGuiApplication::restoreOverrideCursor();
        }
    }
}

void CCJShellList::OnDelete() {
    const QStringList names = SelectedNames();
    if (names.isEmpty()) {
        return;
    }
    if (prompt_.Ask("Delete files?", PromptButtons::YesNo) == PromptAnswer::Yes) {
        DiscardItems(ExistingBrowserItems(ToFsPath(folder_), ToFsNames(names)), prompt_,
                     DeleteBrowserItem);
    }
    Refresh();
}

void CCJShellList::OnRename(const QString& oldName, const QString& newName) {
    if (newName != oldName) {
        if (const auto error = RenameBrowserItem(ToFsPath(folder_), ToFsPath(oldName).string(),
                                                 ToFsPath(newName).string())) {
            prompt_.Message(*error);
            return;
        }
    }
    Refresh();
}

void CCJShellList::OpenRow(int row) {
    if (row < 0 || row >= model_->rowCount()) {
        return;
    }
    const ShellRow entry = model_->Row(row);
    const QString path = QDir(folder_).filePath(entry.name);
    const QFileInfo info(path);
    if (entry.isFolder) {
        if (info.isDir() && tree_ != nullptr) {
            tree_->SelectFolder(path);
        } else if (info.isDir()) {
            Fill(path);
        } else {
            prompt_.Message("Folder is not exist!");
            Refresh();
        }
        return;
    }
    if (!info.exists()) {
        prompt_.Message("File is not exist!");
        Refresh();
        return;
    }
    if (!openFile_(path)) {
        prompt_.MessageWithDetail("No program is set to open this file!", entry.name.toStdString());
    }
}

void CCJShellList::ShowMenu(const QPoint& viewportPosition) {
    const QModelIndex at = indexAt(viewportPosition);
    std::function<void(QMenu&)> songEntries;
    if (styleFromSong_ && at.isValid() && !model_->Row(at.row()).isFolder) {
        const QString path = QDir(folder_).filePath(model_->Row(at.row()).name);
        songEntries = [this, path](QMenu& menu) {
            connect(menu.addAction(QStringLiteral("Make a style from a song\u2026")),
                    &QAction::triggered, this, [this, path] { styleFromSong_(path); });
            menu.addSeparator();
        };
    }
    ShowDeleteRefreshMenu(
        *this, viewportPosition, menuRunner_, [this] { OnDelete(); }, [this] { Refresh(); },
        songEntries);
}

void CCJShellList::contextMenuEvent(QContextMenuEvent* event) {
    ShowMenu(event->pos());
    event->accept();
}

void CCJShellList::startDrag(Qt::DropActions /*supportedActions*/) {
    const QModelIndex current = currentIndex();
    if (!current.isValid() || SelectedNames().isEmpty()) {
        return;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(SelectionMimeData());
    drag->setPixmap(BrowserDragPicture(viewport()->grab(visualRect(current.siblingAtColumn(0))),
                                       static_cast<int>(SelectedNames().size())));
    drag->setHotSpot(kDragHotSpot);
    // The arrow over a sub-repository list, the no-entry sign everywhere else.
    const QSize cursorSize(32, 32);
    drag->setDragCursor(SvgPixmap(QStringLiteral(":/vantrel/cursor-arrow.svg"), cursorSize),
                        Qt::CopyAction);
    drag->setDragCursor(SvgPixmap(QStringLiteral(":/vantrel/cursor-no-entry.svg"), cursorSize),
                        Qt::IgnoreAction);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

}  // namespace vantrel
