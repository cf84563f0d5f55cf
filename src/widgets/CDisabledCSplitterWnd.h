#pragma once

#include <QSplitter>
#include <vector>

#include "widgets/SplitterLayout.h"

namespace vantrel {

// A splitter whose bars cannot be dragged and do not change the cursor. The pane sizes come
// only from the ideal/minimum sizes its owner sets, and are applied again on every resize.
class CDisabledCSplitterWnd : public QSplitter {
    Q_OBJECT
  public:
    static constexpr int kBarWidth = 4;
    static constexpr int kInitialPaneSize = 200;

    explicit CDisabledCSplitterWnd(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Adds a pane after the existing ones, with an ideal size of kInitialPaneSize.
    void AddPane(QWidget* pane);
    void SetPaneInfo(int index, PaneInfo info);
    void SetPaneInfos(const std::vector<PaneInfo>& infos);
    PaneInfo GetPaneInfo(int index) const;
    // Applies the stored ideal and minimum sizes to the current size.
    void RecalcLayout();

  protected:
    QSplitterHandle* createHandle() override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    std::vector<PaneInfo> panes_;
};

}  // namespace vantrel
