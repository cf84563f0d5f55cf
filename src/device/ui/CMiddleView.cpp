#include "device/ui/CMiddleView.h"

#include <QPushButton>

#include <algorithm>

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QResizeEvent>

#include "common/UserPrompt.h"
#include "device/ui/LinkMenuActions.h"
#include "repository/CRepository.h"
#include "repository/ImportFiles.h"
#include "repository/ImportFitted.h"
#include "repository/ImportPaths.h"
#include "repository/InstallLayout.h"
#include "widgets/CAboutDlg.h"
#include "widgets/CGdipButton.h"
#include "widgets/GuideWindow.h"
#include "widgets/QtPaths.h"

namespace vantrel {

namespace {

constexpr int kButtonTop = 18;
constexpr int kButtonHeight = 40;

CGdipButton* MakeButton(const char* name, QWidget* parent) {
    const QString base = QStringLiteral(":/vantrel/button-") + QString::fromLatin1(name).toLower();
    auto* button = new CGdipButton(base + QStringLiteral(".svg"),
                                   base + QStringLiteral("-active.svg"), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(name));
    button->setAccessibleName(QString::fromLatin1(name));
    return button;
}

}  // namespace

CMiddleView::CMiddleView(UserPrompt& prompt, ImportPanes panes, QWidget* parent)
    : QWidget(parent),
      prompt_(prompt),
      panes_(std::move(panes)),
      connect_(MakeButton("Connect", this)),
      refresh_(MakeButton("Refresh", this)),
      import_(MakeButton("Import", this)),
      help_(MakeButton("Help", this)),
      about_(MakeButton("About", this)),
      runMenu_(ExecMenu()),
      openGuide_(DesktopOpenerOfSystem()) {
    setObjectName(QStringLiteral("CMiddleView"));
    connect(refresh_, &CGdipButton::clicked, this, &CMiddleView::OnRefreshAll);
    connect(import_, &CGdipButton::clicked, this, &CMiddleView::OnImport);
    connect(help_, &CGdipButton::clicked, this, &CMiddleView::OnHelp);
    connect(about_, &CGdipButton::clicked, this, &CMiddleView::OnAbout);
    // The link menu in plain sight, not only behind a right click.
    link_ = new QPushButton(QStringLiteral("Link\u2026"), this);
    link_->setObjectName(QStringLiteral("LinkButton"));
    link_->setToolTip(QStringLiteral("Link settings and the transfer trace"));
    link_->setFocusPolicy(Qt::NoFocus);
    connect(link_, &QPushButton::clicked, this,
            [this] { ShowLinkMenu(link_->geometry().bottomLeft()); });
}

std::filesystem::path CMiddleView::HelpFile() {
    return ThisInstallLayout().userGuide;
}

void CMiddleView::OnImport() {
    // Folders among the selected rows are skipped by the import itself.
    const QString folder = panes_.browserFolder();
    const QStringList names = panes_.browserSelection();
    if (names.isEmpty() || folder.size() <= 1) {
        return;
    }
    const std::vector<std::string> fsNames = ToFsNames(names);
    const std::filesystem::path from = ToFsPath(folder);
    const ImportOutcome outcome =
        ImportFiles(fsNames, from, CRepository::Folder(panes_.currentTab()), true, prompt_);
    std::vector<std::filesystem::path> sources;
    for (const std::string& name : fsNames)
        sources.push_back(from / name);
    OfferFits(outcome, sources);
    panes_.refreshRepositoryLists();
}

void CMiddleView::OfferFits(const ImportOutcome& outcome,
                            const std::vector<std::filesystem::path>& sources) {
    for (const std::string& refused : outcome.notSupported) {
        const auto source = std::find_if(sources.begin(), sources.end(), [&](const auto& path) {
            return path.filename() == std::filesystem::path(refused).filename();
        });
        if (source == sources.end())
            continue;
        const std::string name = source->filename().string();
        if (!prompt_.Offer(name + " can be made to fit: a fitted copy is imported under its name, "
                                  "the file itself stays as it is.",
                           "Make it fit\u2026"))
            continue;
        if (const std::optional<FitResult> fitted = panes_.makeItFit(*source))
            ImportFitted(*source, *fitted, CRepository::Folder(panes_.currentTab()), prompt_);
    }
}

void CMiddleView::OnFilesDropped(const QStringList& paths) {
    std::vector<std::filesystem::path> files;
    for (const QString& path : paths) {
        files.push_back(ToFsPath(path));
    }
    OfferFits(vantrel::ImportPaths(files, CRepository::Folder(panes_.currentTab()), true, prompt_),
              files);
    panes_.refreshRepositoryLists();
}

void CMiddleView::OnRefreshAll() {
    panes_.refreshRepositoryLists();
    const QString folder = panes_.browserFolder();
    if (!folder.isEmpty()) {
        panes_.showBrowserFolder(folder);
    }
    Q_EMIT RefreshedAll();
}

void CMiddleView::OnHelp() {
    const QString guide = FromFsPath(guide_);
    if (!QFileInfo::exists(guide)) {
        prompt_.MessageWithDetail("The user guide is not installed!", guide_.string());
        return;
    }
    if (openGuide_(guide)) {
        return;
    }
    // No program on this desktop shows web pages: the guide opens in a window of our own.
    auto* window = new GuideWindow(guide, this);
    window->show();
    window->raise();
}

void CMiddleView::OnAbout() {
    CAboutDlg(window()).exec();
    for (CGdipButton* button : {connect_, refresh_, import_, help_, about_}) {
        button->update();
    }
}

void CMiddleView::ShowLinkMenu(const QPoint& position) {
    QMenu menu(this);
    const bool idle = LinkMenuActions::Available();
    QAction* settings = menu.addAction(QStringLiteral("Link settings\u2026"), this,
                                       &CMiddleView::LinkSettingsChosen);
    QAction* trace = menu.addAction(QStringLiteral("Save transfer trace\u2026"), this,
                                    &CMiddleView::SaveTraceChosen);
    settings->setEnabled(idle);
    trace->setEnabled(idle);
    runMenu_(menu, mapToGlobal(position));
}

void CMiddleView::contextMenuEvent(QContextMenuEvent* event) {
    // The buttons leave the right click to the strip, so the menu opens over them too.
    ShowLinkMenu(mapFromGlobal(event->globalPos()));
    event->accept();
}

void CMiddleView::keyPressEvent(QKeyEvent* event) {
    // Shift+F10 from a focused button, as the context-menu key does: the menu opens below it.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        const QWidget* focus = focusWidget();
        ShowLinkMenu(focus != nullptr ? focus->geometry().bottomLeft() : QPoint(0, 0));
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CMiddleView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int width = event->size().width();
    connect_->setGeometry(30, kButtonTop, 110, kButtonHeight);
    refresh_->setGeometry(180, kButtonTop, 110, kButtonHeight);
    import_->setGeometry(width - 450, kButtonTop, 100, kButtonHeight);
    // In the gap between Import and Help, lower than the image buttons.
    constexpr int kLinkHeight = 28;
    link_->setGeometry(width - 345, kButtonTop + (kButtonHeight - kLinkHeight) / 2, 90,
                       kLinkHeight);
    help_->setGeometry(width - 240, kButtonTop, 110, kButtonHeight);
    about_->setGeometry(width - 120, kButtonTop, 110, kButtonHeight);
}

}  // namespace vantrel
