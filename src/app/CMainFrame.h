#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "repository/ui/MakeItFitDlg.h"
#include "repository/ui/StyleFromSongDlg.h"
#include "widgets/CDisabledCSplitterWnd.h"
#include "widgets/PartPlayer.h"

class QSettings;

namespace vantrel {

class CBottomView;
class CMiddleView;
class CTopView;
class DeviceConnectAction;
class WindowPlayer;
class LinkMenuActions;
class UserPrompt;
struct ImportPanes;

// The program's only window: no menu, tool or status bar, just three rows of panes in a
// splitter that cannot be dragged. The top and bottom rows share the height left over by the
// 60-pixel button strip between them.
class CMainFrame : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    // Creates the repository folders before any pane exists; the panes report through prompt.
    explicit CMainFrame(UserPrompt& prompt, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CDisabledCSplitterWnd& Splitter() { return *splitter_; }
    CTopView& Top() { return *top_; }
    CMiddleView& Middle() { return *middle_; }
    CBottomView& Bottom() { return *bottom_; }
    DeviceConnectAction& Connector() { return *connector_; }
    LinkMenuActions& LinkActions() { return *linkActions_; }
    // How "Make it fit…", offered after a refused import, is run; tests answer it in place.
    void SetFitDialogRunner(FitDialogRunner run) { runFitDialog_ = std::move(run); }
    // How "Make a style from a song…", chosen on a file of the browser, is run; tests answer it
    // in place.
    void SetStyleDialogRunner(StyleDialogRunner run) { runStyleDialog_ = std::move(run); }
    // "Make a style from a song…" on a song: the parts the user accepts land in the repository
    // and in the combine lists.
    void MakeStyleFromSong(const std::filesystem::path& song);
    // What every Play in the window plays through.
    WindowPlayer& Player() { return *player_; }
    // Where the chord chart is kept between runs: the program's own settings unless a test
    // gives others. The chart kept there is shown at once.
    using SettingsSource = std::function<std::unique_ptr<QSettings>()>;
    void SetSettingsSource(SettingsSource source);

    // The row rule for an outer window height (frame included); heights of 100 or less, as a
    // minimised window reports, leave the rows as they are.
    void ApplyRowRule(int outerHeight);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    // Closing the window stops the sound.
    void closeEvent(QCloseEvent* event) override;
    // Space on a sub-repository list plays or stops its selection.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The play strip plays what was selected last: a combine list or a sub-repository tab.
    void WirePlaying();

    // The neighbours the button strip's import reaches through this frame.
    ImportPanes StripImportPanes();

    // Before the panes, which play through it.
    std::unique_ptr<WindowPlayer> player_;
    SettingsSource settings_;
    // The selection of each sub-repository tab, as the play strip takes it.
    std::array<std::function<std::vector<PlayItem>()>, 3> tabSelections_;
    CDisabledCSplitterWnd* splitter_ = nullptr;
    CTopView* top_ = nullptr;
    CMiddleView* middle_ = nullptr;
    CBottomView* bottom_ = nullptr;
    DeviceConnectAction* connector_ = nullptr;
    LinkMenuActions* linkActions_ = nullptr;
    FitDialogRunner runFitDialog_;
    StyleDialogRunner runStyleDialog_;
    UserPrompt& prompt_;
    bool layoutReady_ = false;
};

}  // namespace vantrel
