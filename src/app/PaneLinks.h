#pragma once

#include "combine/UploadPorts.h"
#include "combine/ui/RepositorySelection.h"

namespace vantrel {

class CTopLeftView;
class CTopTabView;

// How the frame lets one pane read another without either knowing the other's folder.

// The device slot pane as the upload sees it: its rows, its selection and a fresh read.
class SlotPaneView final : public SlotListView {
  public:
    explicit SlotPaneView(CTopLeftView& pane) : pane_(pane) {}

    std::vector<std::string> Rows() const override;
    std::vector<std::size_t> SelectedRows() const override;
    void RefreshSlots() override;

  private:
    CTopLeftView& pane_;
};

// The sub-repository tabs as the Combine button reads them.
RepositorySelection TabSelection(CTopTabView& tabs);

}  // namespace vantrel
