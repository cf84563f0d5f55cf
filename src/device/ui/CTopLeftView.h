#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "device/CMidiTrans.h"

namespace vantrel {

class DevListCtrl;
class UserPrompt;

// The top-left pane: the device's slot list, read from the device after a connect, on request
// and after a download, and the deletion of slots the list asks for. Requests are ignored
// without a word while not connected or while a device transaction runs.
class CTopLeftView : public QWidget {
    Q_OBJECT
  public:
    explicit CTopLeftView(UserPrompt& prompt, QWidget* parent = nullptr);

    DevListCtrl& List() { return *list_; }

    // The rows in slot order: a stored name or "Empty".
    std::vector<std::string> Rows() const;
    std::vector<std::size_t> SelectedRows() const;

  public Q_SLOTS:
    // "Connection error!" when the device does not answer; the list is then left empty.
    void RefreshSlots();
    // -1: the deletions are over, read the slots again.
    void OnSlotDelete(int slot);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    UserPrompt& prompt_;
    CMidiTrans trans_;
    DevListCtrl* list_;
};

}  // namespace vantrel
