#include "app/CMainFrame.h"

#include <QIcon>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "app/CBottomView.h"
#include "app/CTopView.h"
#include "controls/ui/CCJShellList.h"
#include "controls/ui/CCJShellTree.h"
#include "device/ui/CMiddleView.h"
#include "device/ui/CTopLeftView.h"
#include "device/ui/DeviceConnectAction.h"
#include "device/ui/LinkMenuActions.h"
#include "repository/CRepository.h"
#include "repository/ui/CTopTabView.h"
#include "widgets/CGdipButton.h"
#include "widgets/MidiTypeIcon.h"
#include "widgets/Resources.h"

namespace vantrel {

CMainFrame::CMainFrame(UserPrompt& prompt, QWidget* parent)
    : QWidget(parent),
      runFitDialog_([](MakeItFitDlg& dialog) { return dialog.exec() == QDialog::Accepted; }) {
    EnsureResources();
    MidiTypeIcon();
    CRepository::CreateFolders();

    setWindowTitle(QStringLiteral("Vantrel"));
    // The icon theme's "vantrel" is the installed artwork; the built-in picture is the same.
    setWindowIcon(QIcon::fromTheme(QStringLiteral("vantrel"),
                                   QIcon(QStringLiteral(":/vantrel/program-icon.svg"))));
    setMinimumSize(kWidth, kHeight);
    resize(kWidth, kHeight);

    splitter_ = new CDisabledCSplitterWnd(Qt::Vertical);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);

    top_ = new CTopView(prompt);
    bottom_ = new CBottomView(prompt);
    middle_ = new CMiddleView(prompt, StripImportPanes());
    splitter_->AddPane(top_);
    splitter_->AddPane(middle_);
    splitter_->AddPane(bottom_);

    CTopTabView& tabs = top_->TabView();
    connect(&tabs, &CTopTabView::BrowserSelectionDropped, middle_, &CMiddleView::OnImport);
    connect(&tabs, &CTopTabView::FilesDropped, middle_, &CMiddleView::OnFilesDropped);
    connector_ = new DeviceConnectAction(prompt, this, this);
    CTopLeftView& slotPane = top_->SlotsView();
    connect(&middle_->ConnectButton(), &CGdipButton::clicked, connector_,
            &DeviceConnectAction::OnConnect);
    connect(connector_, &DeviceConnectAction::Connected, &slotPane, &CTopLeftView::RefreshSlots);
    connect(middle_, &CMiddleView::RefreshedAll, &slotPane, &CTopLeftView::RefreshSlots);
    linkActions_ = new LinkMenuActions(prompt, this, this);
    connect(middle_, &CMiddleView::LinkSettingsChosen, linkActions_,
            &LinkMenuActions::OnLinkSettings);
    connect(middle_, &CMiddleView::SaveTraceChosen, linkActions_, &LinkMenuActions::OnSaveTrace);
    layoutReady_ = true;
    ApplyRowRule(frameGeometry().height());
}

ImportPanes CMainFrame::StripImportPanes() {
    CTopTabView* tabs = &top_->TabView();
    CCJShellTree* tree = &bottom_->Tree();
    CCJShellList* list = &bottom_->List();
    return ImportPanes{[tabs] { return tabs->CurrentTab(); },
                       [tabs] { tabs->RefreshAllPages(); },
                       [list] { return list->CurrentFolder(); },
                       [list] { return list->SelectedNames(); },
                       [tree](const QString& folder) { tree->SelectFolder(folder); },
                       [this](const std::filesystem::path& source) -> std::optional<FitResult> {
                           MakeItFitDlg dialog(source, this);
                           if (!runFitDialog_(dialog))
                               return std::nullopt;
                           return dialog.Result();
                       }};
}

void CMainFrame::ApplyRowRule(int outerHeight) {
    if (!layoutReady_) {
        return;
    }
    const auto rows = MainFrameRows(outerHeight);
    if (!rows) {
        return;
    }
    splitter_->SetPaneInfos(*rows);
    splitter_->RecalcLayout();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ApplyRowRule(frameGeometry().height());
}

}  // namespace vantrel
