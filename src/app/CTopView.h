#pragma once

#include <QWidget>

#include "app/CDisabledCSplitterWnd.h"

namespace vantrel {

class CTopTabView;

// The top row: device slots, download panel, the three combine lists, the Combine button and
// the sub-repository tabs, side by side in a splitter that follows the row's width.
class CTopView : public QWidget {
    Q_OBJECT
  public:
    enum Column { kSlots = 0, kDownload = 1, kCombineLists = 2, kCombineButton = 3, kTabs = 4 };

    explicit CTopView(QWidget* parent = nullptr);

    CDisabledCSplitterWnd& Splitter() { return *splitter_; }
    CTopTabView& TabView() { return *tabView_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    CDisabledCSplitterWnd* splitter_;
    CTopTabView* tabView_;
};

}  // namespace vantrel
