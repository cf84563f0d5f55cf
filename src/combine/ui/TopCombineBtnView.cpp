#include "combine/ui/TopCombineBtnView.h"

#include "combine/ui/CTopCombineView.h"
#include "combine/ui/CTopListView.h"
#include "combine/ui/CombineResources.h"
#include "widgets/CGdipButton.h"
#include "widgets/QtPaths.h"

namespace vantrel {

namespace {

constexpr int kButtonHeight = 50;

}  // namespace

TopCombineBtnView::TopCombineBtnView(UserPrompt& prompt, RepositorySelection tabs,
                                     CTopCombineView& combine, QWidget* parent)
    : QWidget(parent), prompt_(prompt), tabs_(std::move(tabs)), combine_(combine) {
    setObjectName(QStringLiteral("TopCombineBtnView"));
    button_ = MakeCombineButton(QStringLiteral("Combine"), this);
    connect(button_, &CGdipButton::clicked, this, &TopCombineBtnView::OnCombine);
}

void TopCombineBtnView::OnCombine() {
    const SubRepository tab = tabs_.currentTab();
    const QStringList selected = tabs_.selectedNames(tab);
    combine_.Lists().OnCombine(tab, ToFsNames(selected), prompt_);
    combine_.Pane(tab).RefreshEntries();
}

void TopCombineBtnView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    button_->setGeometry(5, (height() - kButtonHeight) / 2, std::max(width() - 10, 0),
                         kButtonHeight);
}

}  // namespace vantrel
