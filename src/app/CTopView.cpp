#include "app/CTopView.h"

#include <QResizeEvent>

#include "app/PlaceholderPane.h"
#include "repository/ui/CTopTabView.h"

namespace vantrel {

CTopView::CTopView(QWidget* parent)
    : QWidget(parent),
      splitter_(new CDisabledCSplitterWnd(Qt::Horizontal, this)),
      tabView_(new CTopTabView) {
    splitter_->AddPane(new PlaceholderPane(QStringLiteral("CTopLeftView")));
    splitter_->AddPane(new PlaceholderPane(QStringLiteral("CTopMiddleView")));
    splitter_->AddPane(new PlaceholderPane(QStringLiteral("CTopCombineView")));
    splitter_->AddPane(new PlaceholderPane(QStringLiteral("TopCombineBtnView")));
    splitter_->AddPane(tabView_);
    splitter_->SetPaneInfos(TopViewInitialColumns(width()));
    splitter_->setGeometry(rect());
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
