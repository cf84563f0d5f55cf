#include "app/CBottomView.h"

#include <QResizeEvent>

#include "controls/ui/CCJShellList.h"
#include "controls/ui/CCJShellTree.h"

namespace vantrel {

CBottomView::CBottomView(UserPrompt& prompt, QWidget* parent)
    : QWidget(parent),
      splitter_(new CDisabledCSplitterWnd(Qt::Horizontal, this)),
      tree_(new CCJShellTree(prompt)),
      list_(new CCJShellList(prompt)) {
    splitter_->AddPane(tree_);
    splitter_->AddPane(list_);
    list_->SetTree(tree_);
    splitter_->SetPaneInfos(BottomViewColumns(width()));
}

void CBottomView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    splitter_->setGeometry(rect());
    splitter_->SetPaneInfos(BottomViewColumns(width()));
    splitter_->RecalcLayout();
}

}  // namespace vantrel
