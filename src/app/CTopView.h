#pragma once

#include <QWidget>
#include <memory>

#include "widgets/CDisabledCSplitterWnd.h"

namespace vantrel {

class CTopCombineView;
class CTopLeftView;
class CTopMiddleView;
class CTopTabView;
class PartPlayer;
class SlotPaneView;
class TopCombineBtnView;
class UserPrompt;

// The top row: device slots, download panel, the three combine lists, the Combine button and
// the sub-repository tabs, side by side in a splitter that follows the row's width.
class CTopView : public QWidget {
    Q_OBJECT
  public:
    enum Column { kSlots = 0, kDownload = 1, kCombineLists = 2, kCombineButton = 3, kTabs = 4 };

    // The play strip of the combine lists plays through player.
    CTopView(UserPrompt& prompt, PartPlayer& player, QWidget* parent = nullptr);
    ~CTopView() override;

    CDisabledCSplitterWnd& Splitter() { return *splitter_; }
    CTopTabView& TabView() { return *tabView_; }
    CTopLeftView& SlotsView() { return *slotsView_; }
    CTopMiddleView& DownloadView() { return *downloadView_; }
    CTopCombineView& CombineView() { return *combineView_; }
    TopCombineBtnView& CombineButtonView() { return *combineButtonView_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    CDisabledCSplitterWnd* splitter_;
    CTopTabView* tabView_;
    CTopLeftView* slotsView_;
    // What the download pane reads of the slot pane; the destructor removes the panes first.
    std::unique_ptr<SlotPaneView> slotList_;
    CTopCombineView* combineView_;
    CTopMiddleView* downloadView_;
    TopCombineBtnView* combineButtonView_;
};

}  // namespace vantrel
