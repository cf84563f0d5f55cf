#include "app/CTopView.h"

#include <QResizeEvent>

#include "app/PaneLinks.h"

#include "combine/ui/CTopCombineView.h"
#include "combine/ui/CTopMiddleView.h"
#include "combine/ui/TopCombineBtnView.h"
#include "device/ui/CTopLeftView.h"
#include "device/ui/DevListCtrl.h"
#include "repository/ui/CTopTabView.h"

namespace vantrel {

CTopView::CTopView(UserPrompt& prompt, PartPlayer& player, QWidget* parent)
    : QWidget(parent),
      splitter_(new CDisabledCSplitterWnd(Qt::Horizontal, this)),
      tabView_(new CTopTabView(prompt)),
      slotsView_(new CTopLeftView(prompt)),
      slotList_(std::make_unique<SlotPaneView>(*slotsView_)),
      combineView_(new CTopCombineView(prompt, player)),
      downloadView_(new CTopMiddleView(prompt, *combineView_, *slotList_)),
      combineButtonView_(new TopCombineBtnView(prompt, TabSelection(*tabView_), *combineView_)) {
    splitter_->AddPane(slotsView_);
    splitter_->AddPane(downloadView_);
    splitter_->AddPane(combineView_);
    splitter_->AddPane(combineButtonView_);
    splitter_->AddPane(tabView_);
    // Files dropped on a combine list are imported into its sub-repository.
    connect(combineView_, &CTopCombineView::RepositoryChanged, tabView_,
            &CTopTabView::RefreshAllPages);
    connect(downloadView_, &CTopMiddleView::StyleStored, &slotsView_->List(),
            &DevListCtrl::SetUploadNote);
    splitter_->SetPaneInfos(TopViewInitialColumns(width()));
    splitter_->setGeometry(rect());
}

CTopView::~CTopView() {
    // The download pane holds slotList_ until it is gone.
    delete splitter_;
}

void CTopView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const auto columns = TopViewColumns(width());
    if (!columns) {
        return;
    }
    splitter_->setGeometry(rect());
    splitter_->SetPaneInfos(*columns);
    splitter_->RecalcLayout();
}

}  // namespace vantrel
