#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <vector>

#include "device/ui/ImportPanes.h"
#include "widgets/DeleteRefreshMenu.h"
#include "widgets/DesktopOpen.h"

class QPushButton;

namespace vantrel {

class CGdipButton;
class UserPrompt;
struct ImportOutcome;

// The button strip between the top panes and the file browser: Connect and Refresh on the
// left, Import, Help and About on the right. Import copies the browser's selected files into the
// sub-repository of the current tab, checking each one as the keyboard would take it; files
// dropped on the sub-repository lists go the same way. A file the check refuses is offered
// "Make it fit…", which imports a fitted copy under the file's name. The "Link…" button beside
// Refresh, and a right click anywhere on the strip, offer "Link settings…" and "Save transfer
// trace…".
class CMiddleView : public QWidget {
    Q_OBJECT
  public:
    CMiddleView(UserPrompt& prompt, ImportPanes panes, QWidget* parent = nullptr);

    CGdipButton& ConnectButton() { return *connect_; }
    CGdipButton& RefreshButton() { return *refresh_; }
    CGdipButton& ImportButton() { return *import_; }
    CGdipButton& HelpButton() { return *help_; }
    CGdipButton& AboutButton() { return *about_; }
    // "Link…": opens the link menu below itself.
    QPushButton& LinkButton() { return *link_; }

    // The user guide opened by Help: "user-guide.html" beside the program, or in the install
    // prefix's share/doc/vantrel once installed.
    static std::filesystem::path HelpFile();

    void SetMenuRunner(MenuRunner run) { runMenu_ = std::move(run); }
    void SetGuideOpener(DesktopOpener open) { openGuide_ = std::move(open); }
    void SetGuideFile(std::filesystem::path guide) { guide_ = std::move(guide); }
    // The link menu at a position in the strip; its entries are greyed while a device
    // transaction runs.
    void ShowLinkMenu(const QPoint& position);

  public Q_SLOTS:
    void OnImport();
    // Files from outside the program, each imported from its own folder.
    void OnFilesDropped(const QStringList& paths);
    void OnRefreshAll();
    // The user guide with the desktop's program for web pages, or in a window of our own where
    // there is none; "The user guide is not installed!" when the file is missing.
    void OnHelp();
    void OnAbout();

  Q_SIGNALS:
    // After the lists are reloaded by Refresh; the device slot list reloads itself on it.
    void RefreshedAll();
    void LinkSettingsChosen();
    void SaveTraceChosen();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // After an import: "Make it fit…" for each refused file, in the order refused.
    void OfferFits(const ImportOutcome& outcome, const std::vector<std::filesystem::path>& sources);

    UserPrompt& prompt_;
    ImportPanes panes_;
    CGdipButton* connect_;
    CGdipButton* refresh_;
    CGdipButton* import_;
    CGdipButton* help_;
    CGdipButton* about_;
    QPushButton* link_;
    MenuRunner runMenu_;
    DesktopOpener openGuide_;
    std::filesystem::path guide_ = HelpFile();
};

}  // namespace vantrel
