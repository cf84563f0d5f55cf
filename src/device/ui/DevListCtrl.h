#pragma once

#include <QTreeWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "widgets/DeleteRefreshMenu.h"

namespace vantrel {

class UserPrompt;

// The device's slots, one line each in slot order (a line's row is its slot number), headed
// "Device", with the slot's number in a "No." column before the name. An occupied slot shows the
// desktop's MIDI icon, a free one reads "Empty" without it. Several lines can be selected. The
// list only asks: its owner pane reads the device and deletes slots when the list requests it.
class DevListCtrl : public QTreeWidget {
    Q_OBJECT
  public:
    explicit DevListCtrl(UserPrompt& prompt, QWidget* parent = nullptr);

    void SetMenuRunner(MenuRunner runner) { menuRunner_ = std::move(runner); }

    // The column of the slot numbers; column 0 keeps the names.
    static constexpr int kNumberColumn = 1;

    void AddSlotLine(const std::string& name);
    // What an upload from this program stored in a slot, shown as the line's tooltip from now
    // on, also after the slots are read again; deleting the slot from this list forgets it.
    void SetUploadNote(int slot, const QString& note);
    std::vector<std::string> Lines() const;
    // Selected rows in ascending order.
    std::vector<std::size_t> SelectedRows() const;
    // Selects these rows (those that exist) and nothing else.
    void SelectRows(const std::vector<std::size_t>& rows);

    // The right-click menu: "Delete" and "Refresh" on a line, only "Refresh" elsewhere.
    void ShowMenu(const QPoint& viewportPosition);

  public Q_SLOTS:
    // Asks "Delete NAME?" for each selected occupied line in order, requesting the deletion of
    // each Yes at once, then one re-read of the slots. Nothing when no line is selected.
    void OnDelete();

  Q_SIGNALS:
    // A slot number, or -1 once the deletions are over and the slots should be read again.
    void SlotDeleteRequested(int slot);
    void SlotsRefreshRequested();

  private:
    UserPrompt& prompt_;
    MenuRunner menuRunner_;
    std::map<int, QString> uploadNotes_;
};

}  // namespace vantrel
