#include "device/ui/CTopLeftView.h"

#include "device/DeviceSlots.h"
#include "device/ui/DevListCtrl.h"

namespace vantrel {

CTopLeftView::CTopLeftView(UserPrompt& prompt, QWidget* parent)
    : QWidget(parent), prompt_(prompt), trans_(prompt), list_(new DevListCtrl(prompt, this)) {
    setObjectName(QStringLiteral("CTopLeftView"));
    connect(list_, &DevListCtrl::SlotsRefreshRequested, this, &CTopLeftView::RefreshSlots);
    connect(list_, &DevListCtrl::SlotDeleteRequested, this, &CTopLeftView::OnSlotDelete);
}

std::vector<std::string> CTopLeftView::Rows() const {
    return list_->Lines();
}

std::vector<std::size_t> CTopLeftView::SelectedRows() const {
    return list_->SelectedRows();
}

void CTopLeftView::RefreshSlots() {
    if (!LinkUsable()) {
        return;
    }
    // The slots chosen stay chosen: the next upload after a cancel or a store goes to the same
    // slot without the user choosing it again.
    const std::vector<std::size_t> selected = list_->SelectedRows();
    // Emptied first, so the list does not show stale slots while the device answers.
    list_->clear();
    for (const std::string& name : ReadSlotRows(trans_, prompt_)) {
        list_->AddSlotLine(name);
    }
    list_->SelectRows(selected);
}

void CTopLeftView::OnSlotDelete(int slot) {
    if (!LinkUsable()) {
        return;
    }
    if (slot < 0) {
        RefreshSlots();
    } else {
        (void)trans_.DeleteSlot(slot);
    }
}

void CTopLeftView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    list_->setGeometry(rect());
}

}  // namespace vantrel
