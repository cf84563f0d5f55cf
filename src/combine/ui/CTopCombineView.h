#pragma once

#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "combine/CombineLists.h"
#include "widgets/PartPlayer.h"
#include "widgets/SplitterLayout.h"

namespace vantrel {

class CDisabledCSplitterWnd;
class CombineListCtrl;
class CTopEndingView;
class CTopFillView;
class CTopIntroView;
class CTopListView;
class PartPlayer;
class PlayStrip;
class UserPrompt;

// The third column of the top row: the Intro, Fill and Ending combine lists stacked in a
// splitter that cannot be dragged, Intro and Ending just high enough for their header and their
// one file, Fill the rest, and the play strip under them. The strip plays the entries selected
// last (here, or wherever the frame points it); Space on a list plays or stops its selection.
// The lists live here, in memory only, for as long as the window.
class CTopCombineView : public QWidget {
    Q_OBJECT
  public:
    CTopCombineView(UserPrompt& prompt, PartPlayer& player, QWidget* parent = nullptr);
    ~CTopCombineView() override;

    // The rows for a client height, given the height of a list showing one file and of the play
    // strip; nullopt (leave them) at 100 pixels or less.
    static std::optional<std::vector<PaneInfo>> Rows(int height, int oneFileList, int playStrip);

    const std::filesystem::path& RepositoryFolder() const { return repositoryFolder_; }
    CombineLists& Lists() { return *lists_; }
    CTopListView& Pane(SubRepository sub);
    PlayStrip& Strip() { return *strip_; }
    // Every entry of the three lists in playing order: Intro, the Fills, Ending.
    std::vector<PlayItem> WholeStyle();

  Q_SIGNALS:
    void RepositoryChanged();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The selected rows of one list, in row order.
    std::vector<PlayItem> SelectedEntries(SubRepository sub);

    std::filesystem::path repositoryFolder_;
    std::unique_ptr<CombineLists> lists_;
    CDisabledCSplitterWnd* splitter_;
    CTopIntroView* intro_;
    CTopFillView* fill_;
    CTopEndingView* ending_;
    PlayStrip* strip_;
};

}  // namespace vantrel
