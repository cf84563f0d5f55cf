#include "app/CMainFrame.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSettings>
#include <QVBoxLayout>

#include "app/CBottomView.h"
#include "app/CTopView.h"
#include "app/WindowPlayer.h"
#include "combine/ui/CTopCombineView.h"
#include "combine/ui/CTopListView.h"
#include "combine/ui/CTopMiddleView.h"
#include "controls/ui/CCJShellList.h"
#include "controls/ui/CCJShellTree.h"
#include "device/ui/CMiddleView.h"
#include "device/ui/CMidiDeviceDlg.h"
#include "device/ui/CTopLeftView.h"
#include "device/ui/DeviceConnectAction.h"
#include "device/ui/LinkMenuActions.h"
#include "device/ui/LinkSettings.h"
#include "keyboard/KeyboardOptions.h"
#include "repository/CRepository.h"
#include "repository/ui/CTopTabView.h"
#include "repository/ui/CTopTabViewPage.h"
#include "repository/ui/SubRepositoryListBox.h"
#include "widgets/CGdipButton.h"
#include "widgets/MidiTypeIcon.h"
#include "widgets/PlayStrip.h"
#include "widgets/QtPaths.h"
#include "widgets/Resources.h"

namespace vantrel {

namespace {

const QString kChartKey = QStringLiteral("play/chart");

}  // namespace

CMainFrame::CMainFrame(UserPrompt& prompt, QWidget* parent)
    : QWidget(parent),
      player_(std::make_unique<WindowPlayer>()),
      settings_(ProgramSettings),
      runFitDialog_([](MakeItFitDlg& dialog) { return dialog.exec() == QDialog::Accepted; }),
      runStyleDialog_([](StyleFromSongDlg& dialog) { return dialog.exec() == QDialog::Accepted; }),
      prompt_(prompt) {
    EnsureResources();
    MidiTypeIcon();
    CRepository::CreateFolders();
    CMidiDeviceDlg::SetFallbackClient(kVirtualKeyboardName);

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

    top_ = new CTopView(prompt, *player_);
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
    WirePlaying();
    bottom_->List().SetStyleFromSong(
        [this](const QString& path) { MakeStyleFromSong(ToFsPath(path)); });
    layoutReady_ = true;
    ApplyRowRule(frameGeometry().height());
}

CMainFrame::~CMainFrame() {
    player_->Stop();
    // The panes go before the player they hold.
    delete splitter_;
}

void CMainFrame::WirePlaying() {
    PlayStrip& strip = top_->CombineView().Strip();
    CTopTabView& tabs = top_->TabView();
    for (const SubRepository sub : kSubRepositories) {
        SubRepositoryListBox& list = tabs.Page(sub).List();
        tabSelections_[static_cast<std::size_t>(sub)] = [&list, sub] {
            std::vector<PlayItem> items;
            for (const QString& name : list.SelectedNames())
                items.push_back({CRepository::Folder(sub) / ToFsPath(name), sub});
            return items;
        };
        connect(&list, &QListWidget::itemSelectionChanged, &strip, [this, &strip, &list, sub] {
            if (!list.selectedItems().isEmpty())
                strip.SetSelection(tabSelections_[static_cast<std::size_t>(sub)]);
        });
        list.installEventFilter(this);
    }
    CTopCombineView& combine = top_->CombineView();
    connect(&top_->DownloadView().PlayStyleButton(), &QAbstractButton::clicked, &strip,
            [&strip, &combine] { strip.PlayParts(combine.WholeStyle()); });
    connect(&strip, &PlayStrip::ChartUsed, this,
            [this](const QString& chart) { settings_()->setValue(kChartKey, chart); });
    strip.SetChart(settings_()->value(kChartKey).toString());
}

void CMainFrame::SetSettingsSource(SettingsSource source) {
    settings_ = std::move(source);
    top_->CombineView().Strip().SetChart(settings_()->value(kChartKey).toString());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    player_->Stop();
    QWidget::closeEvent(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (IsPlayKey(*event)) {
        for (const SubRepository sub : kSubRepositories) {
            if (watched == &top_->TabView().Page(sub).List()) {
                PlayStrip& strip = top_->CombineView().Strip();
                strip.SetSelection(tabSelections_[static_cast<std::size_t>(sub)]);
                strip.Toggle();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

ImportPanes CMainFrame::StripImportPanes() {
    CTopTabView* tabs = &top_->TabView();
    CCJShellTree* tree = &bottom_->Tree();
    CCJShellList* list = &bottom_->List();
    return ImportPanes{
        [tabs] { return tabs->CurrentTab(); },
        [tabs] { tabs->RefreshAllPages(); },
        [list] { return list->CurrentFolder(); },
        [list] { return list->SelectedNames(); },
        [tree](const QString& folder) { tree->SelectFolder(folder); },
        [this, tabs](const std::filesystem::path& source) -> std::optional<FitResult> {
            MakeItFitDlg dialog(source, tabs->CurrentTab(), this);
            if (!runFitDialog_(dialog))
                return std::nullopt;
            return dialog.Result();
        }};
}

void CMainFrame::MakeStyleFromSong(const std::filesystem::path& song) {
    StyleFromSongDlg dialog(song, *player_, prompt_, this);
    if (!runStyleDialog_(dialog) || dialog.Imported().empty())
        return;
    top_->TabView().RefreshAllPages();
    CTopCombineView& combine = top_->CombineView();
    for (const SubRepository sub : kSubRepositories) {
        std::vector<std::string> names;
        for (const PartFile& part : dialog.Imported()) {
            if (part.sub == sub)
                names.push_back(part.name);
        }
        if (names.empty())
            continue;
        combine.Lists().OnCombine(sub, names, prompt_);
        combine.Pane(sub).RefreshEntries();
    }
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
