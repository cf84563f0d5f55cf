#include "repository/ui/CTopTabView.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "repository/ui/CTopTabViewPage.h"
#include "repository/ui/SubRepositoryListBox.h"

namespace vantrel {

CTopTabView::CTopTabView(UserPrompt& prompt, QWidget* parent)
    : QWidget(parent), tabs_(new QTabWidget) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
    for (const SubRepository sub : kSubRepositories) {
        auto* page = new CTopTabViewPage(sub, prompt);
        pages_[static_cast<std::size_t>(sub)] = page;
        tabs_->addTab(page, QString::fromUtf8(SubRepositoryName(sub).data()));
        connect(&page->List(), &SubRepositoryListBox::BrowserSelectionDropped, this,
                &CTopTabView::BrowserSelectionDropped);
        connect(&page->List(), &SubRepositoryListBox::FilesDropped, this,
                &CTopTabView::FilesDropped);
    }
    tabs_->setCurrentIndex(0);
    connect(tabs_, &QTabWidget::currentChanged, this,
            [this](int index) { RefreshPage(static_cast<SubRepository>(index)); });
    RefreshAllPages();
}

SubRepository CTopTabView::CurrentTab() const {
    return static_cast<SubRepository>(tabs_->currentIndex());
}

void CTopTabView::SetCurrentTab(SubRepository sub) {
    tabs_->setCurrentIndex(static_cast<int>(sub));
}

CTopTabViewPage& CTopTabView::Page(SubRepository sub) {
    return *pages_[static_cast<std::size_t>(sub)];
}

void CTopTabView::RefreshPage(SubRepository sub) {
    Page(sub).Refresh();
}

void CTopTabView::RefreshAllPages() {
    for (const SubRepository sub : kSubRepositories) {
        RefreshPage(sub);
    }
}

}  // namespace vantrel
