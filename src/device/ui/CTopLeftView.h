#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "combine/DeviceUploadLink.h"
#include "combine/UploadPorts.h"
#include "device/CMidiTrans.h"

namespace vantrel {

class DevListCtrl;
class UserPrompt;

// The top-left pane: the device's slot list, read from the device after a connect, on request
// and after a download, and the deletion of slots the list asks for. Requests are ignored
// without a word while not connected or while a device transaction runs.
class CTopLeftView : public QWidget, public SlotListView {
    Q_OBJECT
  public:
    explicit CTopLeftView(UserPrompt& prompt, QWidget* parent = nullptr);

    DevListCtrl& List() { return *list_; }

    // The rows in slot order, each selected row replaced by "" (the selection marker); true when
    // a selected row holds a stored style.
    bool CollectSlotTexts(std::vector<std::string>& texts) const;

    std::vector<std::string> Rows() const override;
    std::vector<std::size_t> SelectedRows() const override;

  public slots:
    // "Connection error!" when the device does not answer; the list is then left empty.
    void RefreshSlots() override;
    // -1: the deletions are over, read the slots again.
    void OnSlotDelete(int slot);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    CMidiTrans trans_;
    DeviceSlotList slots_;
    DevListCtrl* list_;
};

}  // namespace vantrel
