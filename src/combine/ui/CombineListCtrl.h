#pragma once

#include <QTreeWidget>
#include <filesystem>
#include <functional>

#include "widgets/DeleteRefreshMenu.h"

namespace vantrel {

struct PartBlockBytes;
struct PartTexts;

// One combine selection list: a row per chosen file, showing its file name and the desktop's
// icon for it under a header naming the list ("Intro", "Fill", "Ending"), then the file's time
// signature ("Beat") and tempo, the two things every part of a style must share, and the bytes
// it takes of its block, red when they are more than the block carries. Several rows can be
// selected. The list only asks: its owner pane changes the entries and rebuilds the rows.
class CombineListCtrl : public QTreeWidget {
    Q_OBJECT
  public:
    // Opens a file with the desktop's program for it; tests replace it.
    using FileOpener = std::function<void(const std::filesystem::path& file)>;

    CombineListCtrl(const QString& heading, std::filesystem::path folder,
                    QWidget* parent = nullptr);

    void SetMenuRunner(MenuRunner runner) { menuRunner_ = std::move(runner); }
    void SetFileOpener(FileOpener opener) { openFile_ = std::move(opener); }

    static constexpr int kBeatColumn = 1;
    static constexpr int kTempoColumn = 2;
    static constexpr int kBytesColumn = 3;

    // The height that shows the header and one row whole, frame included: the Intro and Ending
    // lists hold one file.
    int OneRowHeight() const;

    void AddListItem(const std::filesystem::path& path, const PartTexts& texts,
                     const PartBlockBytes& bytes);
    // The right-click menu: "Delete" and "Refresh" on a row, only "Refresh" elsewhere.
    void ShowMenu(const QPoint& viewportPosition);

  public Q_SLOTS:
    // Asks the owner to remove each selected row's entry, then to rebuild the rows; nothing
    // when no row is selected. The files stay on disk.
    void OnDelete();

  Q_SIGNALS:
    void EntryRemoveRequested(const QString& name);
    void EntriesRefreshRequested();
    // Local files dropped from the desktop, in the order dropped.
    void FilesDropped(const QStringList& paths);

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // A double click or Enter on a row: the row's file with the desktop's program.
    void OpenItem(const QTreeWidgetItem* item);

    std::filesystem::path folder_;
    MenuRunner menuRunner_;
    FileOpener openFile_;
};

}  // namespace vantrel
