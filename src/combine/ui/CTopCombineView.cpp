#include "combine/ui/CTopCombineView.h"

#include <QResizeEvent>
#include <algorithm>

#include "combine/ui/CTopEndingView.h"
#include "combine/ui/CTopFillView.h"
#include "combine/ui/CTopIntroView.h"
#include "combine/ui/CombineListCtrl.h"
#include "repository/CRepository.h"
#include "widgets/CDisabledCSplitterWnd.h"
#include "widgets/PlayStrip.h"
#include "widgets/QtPaths.h"

namespace vantrel {

namespace {

constexpr int kPlayStripHeight = 46;

}  // namespace

CTopCombineView::CTopCombineView(UserPrompt& prompt, PartPlayer& player, QWidget* parent)
    : QWidget(parent),
      repositoryFolder_(CRepository::Root()),
      lists_(std::make_unique<CombineLists>(repositoryFolder_)),
      splitter_(new CDisabledCSplitterWnd(Qt::Vertical, this)),
      intro_(new CTopIntroView(*lists_, prompt)),
      fill_(new CTopFillView(*lists_, prompt)),
      ending_(new CTopEndingView(*lists_, prompt)),
      strip_(new PlayStrip(player, [this] { return SelectedEntries(SubRepository::Fill); })) {
    setObjectName(QStringLiteral("CTopCombineView"));
    for (CTopListView* pane :
         {static_cast<CTopListView*>(intro_), static_cast<CTopListView*>(fill_),
          static_cast<CTopListView*>(ending_)}) {
        splitter_->AddPane(pane);
        connect(pane, &CTopListView::RepositoryChanged, this, &CTopCombineView::RepositoryChanged);
        const SubRepository sub = pane->Sub();
        // The strip plays the list the user selected in last.
        connect(&pane->List(), &QTreeWidget::itemSelectionChanged, this, [this, sub] {
            if (!Pane(sub).List().selectedItems().isEmpty())
                strip_->SetSelection([this, sub] { return SelectedEntries(sub); });
        });
        pane->List().installEventFilter(this);
    }
    splitter_->AddPane(strip_);
}

CTopCombineView::~CTopCombineView() = default;

std::optional<std::vector<PaneInfo>> CTopCombineView::Rows(int height, int oneFileList,
                                                           int playStrip) {
    if (height <= 100) {
        return std::nullopt;
    }
    constexpr int kBars = 3 * 4;
    const int fill = std::max(height - kBars - 2 * oneFileList - playStrip, 0);
    return std::vector<PaneInfo>{{oneFileList, 0}, {fill, 0}, {oneFileList, 0}, {playStrip, 0}};
}

std::vector<PlayItem> CTopCombineView::SelectedEntries(SubRepository sub) {
    std::vector<PlayItem> items;
    CombineListCtrl& list = Pane(sub).List();
    const std::filesystem::path folder = lists_->List(sub).FolderPath();
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        if (list.topLevelItem(row)->isSelected())
            items.push_back({folder / ToFsPath(list.topLevelItem(row)->text(0)), sub});
    }
    return items;
}

std::vector<PlayItem> CTopCombineView::WholeStyle() {
    std::vector<PlayItem> items;
    for (const SubRepository sub : kSubRepositories) {
        for (const std::filesystem::path& path : lists_->List(sub).EntryPaths())
            items.push_back({path, sub});
    }
    return items;
}

bool CTopCombineView::eventFilter(QObject* watched, QEvent* event) {
    if (IsPlayKey(*event)) {
        for (const SubRepository sub : kSubRepositories) {
            if (watched == &Pane(sub).List()) {
                strip_->SetSelection([this, sub] { return SelectedEntries(sub); });
                strip_->Toggle();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
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
    const auto rows = Rows(event->size().height(), intro_->List().OneRowHeight(), kPlayStripHeight);
    if (!rows) {
        return;
    }
    splitter_->setGeometry(rect());
    splitter_->SetPaneInfos(*rows);
    splitter_->RecalcLayout();
}

}  // namespace vantrel
