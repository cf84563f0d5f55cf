#pragma once

#include <QListWidget>
#include <QStringList>

#include "repository/SubRepository.h"

namespace vantrel {

// The list box of one sub-repository page: the entry names sorted ignoring case, one selected
// at a time for Intro and Ending, several (Shift, Ctrl) for Fill. A right click on an item
// selects it (Fill adds it to the selection) and asks for the page's menu; a right click
// elsewhere does nothing. It is also where browser files and desktop files are dropped.
class SubRepositoryListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit SubRepositoryListBox(SubRepository sub, QWidget* parent = nullptr);

    // Replaces the content; nothing stays selected.
    void SetNames(QStringList names);
    // Texts of the selected items in ascending row order.
    QStringList SelectedNames() const;
    // What a right click at this point of the viewport does: over an item, select it (Fill adds
    // it to the selection) and ask for the menu; elsewhere nothing. The keyboard's menu keys
    // come here with the current item's place.
    void RequestMenuAt(const QPoint& viewportPosition);

  Q_SIGNALS:
    void MenuRequested(const QPoint& globalPosition);
    void BrowserSelectionDropped();
    void FilesDropped(const QStringList& paths);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    SubRepository sub_;
};

}  // namespace vantrel
