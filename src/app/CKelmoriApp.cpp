#include "app/CKelmoriApp.h"

#include <QCommandLineParser>
#include <QDir>
#include <QSettings>
#include <QTimer>

#include "app/CBottomView.h"
#include "app/CMainFrame.h"
#include "app/CSplashWnd.h"
#include "app/DesktopPortBackend.h"
#include "controls/ui/BrowseToFiles.h"
#include "controls/ui/CCJShellTree.h"
#include "device/ui/LinkSettings.h"
#include "repository/CRepository.h"
#include "repository/RepositoryRoot.h"

namespace vantrel {

CKelmoriApp::CKelmoriApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vantrel"));
    setApplicationVersion(QStringLiteral("1.0.3"));
    // Lets the desktop match the window to its entry (vantrel.desktop) and its icon.
    setDesktopFileName(QStringLiteral("vantrel"));
}

CKelmoriApp::~CKelmoriApp() = default;

bool CKelmoriApp::InitInstance() {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Keeps MIDI pattern files and stores styles in the keyboard.\n") +
        QString::fromStdString(DescribeDefaultRepositoryRoot()));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption repository(QStringLiteral("repository"),
                                        QStringLiteral("Keep the repository in <folder>."),
                                        QStringLiteral("folder"));
    const QCommandLineOption browse(QStringLiteral("browse"),
                                    QStringLiteral("Open the file browser at <folder>."),
                                    QStringLiteral("folder"));
    parser.addOptions({repository, browse});
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QStringLiteral("MIDI files to show in the file browser: their folder is opened with "
                       "them selected."),
        QStringLiteral("[FILE.mid...]"));
    parser.process(*this);
    if (parser.isSet(repository)) {
        CRepository::SetRoot(QDir(parser.value(repository)).absolutePath().toStdString());
    }

    ApplyLinkSettings(*ProgramSettings());
    deviceLink_ = std::make_unique<DesktopDeviceLink>(prompt_, MakeDesktopPortBackend());
    frame_ = std::make_unique<CMainFrame>(prompt_);
    prompt_.SetParentWindow(frame_.get());
    splashWanted_ = true;
    ShowSplashScreen();

    CBottomView& browser = frame_->Bottom();
    if (!BrowseToFiles(browser.Tree(), browser.List(), parser.positionalArguments())) {
        browser.Tree().SelectFolder(parser.isSet(browse) ? parser.value(browse) : QDir::homePath());
    }
    frame_->show();
    // The first tick arrives only once the event loop runs, that is once the window is up.
    QTimer::singleShot(1, this, &CKelmoriApp::HideSplashScreen);
    return true;
}

void CKelmoriApp::ShowSplashScreen() {
    if (!splashWanted_ || splash_ != nullptr) {
        return;
    }
    splash_ = CSplashWnd::Create();
    if (splash_ == nullptr) {
        return;
    }
    splash_->show();
    splash_->repaint();
    processEvents();
}

void CKelmoriApp::HideSplashScreen() {
    if (splash_ != nullptr) {
        splash_->close();
    }
    if (frame_) {
        frame_->repaint();
    }
}

}  // namespace vantrel
