#include "combine/ui/CTopCombineView.h"

#include <QResizeEvent>
#include <algorithm>

#include "combine/ui/CTopEndingView.h"
#include "combine/ui/CTopFillView.h"
#include "combine/ui/CTopIntroView.h"
#include "repository/CRepository.h"
#include "widgets/CDisabledCSplitterWnd.h"

namespace vantrel {

CTopCombineView::CTopCombineView(UserPrompt& prompt, QWidget* parent)
    : QWidget(parent),
      repositoryFolder_(CRepository::Root()),
      lists_(std::make_unique<CombineLists>(repositoryFolder_)),
      splitter_(new CDisabledCSplitterWnd(Qt::Vertical, this)),
      intro_(new CTopIntroView(*lists_, prompt)),
      fill_(new CTopFillView(*lists_, prompt)),
      ending_(new CTopEndingView(*lists_, prompt)) {
    setObjectName(QStringLiteral("CTopCombineView"));
    for (CTopListView* pane :
         {static_cast<CTopListView*>(intro_), static_cast<CTopListView*>(fill_),
          static_cast<CTopListView*>(ending_)}) {
        splitter_->AddPane(pane);
        connect(pane, &CTopListView::RepositoryChanged, this, &CTopCombineView::RepositoryChanged);
    }
}

CTopCombineView::~CTopCombineView() = default;

std::optional<std::vector<PaneInfo>> CTopCombineView::Rows(int height) {
    if (height <= 100) {
        return std::nullopt;
    }
    return std::vector<PaneInfo>{{40, 0}, {std::max(height - 90, 0), 0}, {50, 0}};
}

CTopListView& CTopCombineView::Pane(SubRepository sub) {
    switch (sub) {
        case SubRepository::Intro:
            return *intro_;
        case SubRepository::Fill:
            return *fill_;
        case SubRepository::Ending:
            break;
    }
    return *ending_;
}

void CTopCombineView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const auto rows = Rows(event->size().height());
    if (!rows) {
        return;
    }
    splitter_->setGeometry(rect());
    splitter_->SetPaneInfos(*rows);
    splitter_->RecalcLayout();
}

}  // namespace vantrel
