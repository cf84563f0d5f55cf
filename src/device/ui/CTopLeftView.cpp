#include "device/ui/CTopLeftView.h"

#include "combine/SlotChoice.h"
#include "device/ui/DevListCtrl.h"

namespace vantrel {

CTopLeftView::CTopLeftView(UserPrompt& prompt, QWidget* parent)
    : QWidget(parent),
      trans_(prompt),
      slots_(trans_, prompt),
      list_(new DevListCtrl(prompt, this)) {
    setObjectName(QStringLiteral("CTopLeftView"));
    connect(list_, &DevListCtrl::SlotsRefreshRequested, this, &CTopLeftView::RefreshSlots);
    connect(list_, &DevListCtrl::SlotDeleteRequested, this, &CTopLeftView::OnSlotDelete);
}

bool CTopLeftView::CollectSlotTexts(std::vector<std::string>& texts) const {
    SlotTexts collected = vantrel::CollectSlotTexts(Rows(), SelectedRows());
    texts = std::move(collected.texts);
    return collected.anyOccupiedSelected;
}

std::vector<std::string> CTopLeftView::Rows() const {
    return list_->Lines();
}

std::vector<std::size_t> CTopLeftView::SelectedRows() const {
    return list_->SelectedRows();
}

void CTopLeftView::RefreshSlots() {
    if (!DeviceUploadLink(trans_).Ready()) {
        return;
    }
    // The slots chosen stay chosen: the next upload after a cancel or a store goes to the same
    // slot without the user choosing it again.
    const std::vector<std::size_t> selected = list_->SelectedRows();
    // Emptied first, so the list does not show stale slots while the device answers.
    list_->clear();
    slots_.RefreshSlots();
    for (const std::string& name : slots_.Rows()) {
        list_->AddSlotLine(name);
    }
    list_->SelectRows(selected);
}

void CTopLeftView::OnSlotDelete(int slot) {
    if (!DeviceUploadLink(trans_).Ready()) {
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
