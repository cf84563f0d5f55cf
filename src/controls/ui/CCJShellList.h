#pragma once

#include <QTreeView>

#include "controls/ui/ShellFolderListing.h"
#include "widgets/DeleteRefreshMenu.h"
#include "widgets/DesktopOpen.h"

class QMimeData;

namespace vantrel {

class CCJShellTree;
class ShellListModel;
class ShellFolderReader;
class UserPrompt;

// The file list of the browser: the folders and MIDI files of the folder chosen in the tree,
// with their song names, sizes, types and times. Several rows may be selected; names can be
// edited in place to rename. Dragging rows offers the browser's selection to the
// sub-repository lists.
class CCJShellList : public QTreeView {
    Q_OBJECT
  public:
    explicit CCJShellList(UserPrompt& prompt, ShellFilter filter = ShellFilter::Midi,
                          QWidget* parent = nullptr);
    ~CCJShellList() override;

    void SetTree(CCJShellTree* tree);
    QString CurrentFolder() const { return folder_; }
    ShellListModel& Model() { return *model_; }
    void SetShowFolders(bool show) { options_.showFolders = show; }
    void SetShowHidden(bool show) { options_.showHidden = show; }

    // Names of the selected rows, top to bottom.
    QStringList SelectedNames() const;
    // What a drag of the selection carries; the caller owns it.
    QMimeData* SelectionMimeData() const;

    // Lists a folder. The rows arrive shortly after from the reader's thread (Listed), the song
    // names after them (SongNamesComplete once all are in).
    void Fill(const QString& folder);
    void Refresh() { Fill(folder_); }
    bool IsListing() const { return listing_; }
    // Selects the rows of these names once the next listing has arrived (files handed to the
    // program, as a desktop's "Open with" does); names the folder lacks are passed over.
    void SelectWhenListed(QStringList names) { pendingSelection_ = std::move(names); }
    void SetMenuRunner(MenuRunner runner) { menuRunner_ = std::move(runner); }
    void SetFileOpener(DesktopOpener open) { openFile_ = std::move(open); }
    // What "Make a style from a song…" does with the MIDI file it was chosen on; the entry is
    // offered only once this is set.
    using SongAction = std::function<void(const QString& path)>;
    void SetStyleFromSong(SongAction action) { styleFromSong_ = std::move(action); }
    // The right-click menu: "Make a style from a song…" (over a file), "Delete" and "Refresh"
    // over a row, only "Refresh" elsewhere.
    void ShowMenu(const QPoint& viewportPosition);
    void OnDelete();
    void OnRename(const QString& oldName, const QString& newName);
    // A double click or Enter: a folder is listed; a file opens with the desktop's program for
    // its type, or "No program is set to open this file!" where there is none.
    void OpenRow(int row);

  Q_SIGNALS:
    void Listed();
    // Every song name of the last fill has been read (or the fill had no files).
    void SongNamesComplete();

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

  private:
    void ShowRows(const std::vector<ShellRow>& rows);
    void SelectPendingNames();
    void SetListing(bool listing);

    UserPrompt& prompt_;
    ShellListModel* model_;
    ShellFolderReader* reader_;
    CCJShellTree* tree_ = nullptr;
    ShellListingOptions options_;
    QString folder_;
    QStringList pendingSelection_;
    bool listing_ = false;
    MenuRunner menuRunner_;
    DesktopOpener openFile_;
    SongAction styleFromSong_;
};

}  // namespace vantrel
