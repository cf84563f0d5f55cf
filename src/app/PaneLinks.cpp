#include "app/PaneLinks.h"

#include "device/ui/CTopLeftView.h"
#include "repository/ui/CTopTabView.h"
#include "repository/ui/CTopTabViewPage.h"
#include "repository/ui/SubRepositoryListBox.h"

namespace vantrel {

std::vector<std::string> SlotPaneView::Rows() const {
    return pane_.Rows();
}

std::vector<std::size_t> SlotPaneView::SelectedRows() const {
    return pane_.SelectedRows();
}

void SlotPaneView::RefreshSlots() {
    pane_.RefreshSlots();
}

RepositorySelection TabSelection(CTopTabView& tabs) {
    return RepositorySelection{
        [&tabs] { return tabs.CurrentTab(); },
        [&tabs](SubRepository sub) { return tabs.Page(sub).List().SelectedNames(); }};
}

}  // namespace vantrel
