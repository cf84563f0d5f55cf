#include "widgets/CDisabledCSplitterWnd.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QSplitterHandle>

namespace vantrel {

namespace {

// A bar that swallows every mouse event, so it can neither be dragged nor show a resize cursor.
class InertHandle final : public QSplitterHandle {
  public:
    InertHandle(Qt::Orientation orientation, QSplitter* parent)
        : QSplitterHandle(orientation, parent) {
        setCursor(Qt::ArrowCursor);
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }
    // A plain gap: no grip marks that would promise a bar the user could drag.
    void paintEvent(QPaintEvent* /*event*/) override {}
};

}  // namespace

CDisabledCSplitterWnd::CDisabledCSplitterWnd(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {
    setHandleWidth(kBarWidth);
    setChildrenCollapsible(true);
    setOpaqueResize(false);
}

void CDisabledCSplitterWnd::AddPane(QWidget* pane) {
    // An explicit minimum keeps the splitter from enforcing the pane's own size hint, so the
    // sizes set by the rules are the sizes shown.
    pane->setMinimumSize(1, 1);
    addWidget(pane);
    panes_.push_back({kInitialPaneSize, 0});
}

void CDisabledCSplitterWnd::SetPaneInfo(int index, PaneInfo info) {
    if (index >= 0 && static_cast<std::size_t>(index) < panes_.size()) {
        panes_[static_cast<std::size_t>(index)] = info;
    }
}

void CDisabledCSplitterWnd::SetPaneInfos(const std::vector<PaneInfo>& infos) {
    for (std::size_t i = 0; i < infos.size(); ++i) {
        SetPaneInfo(static_cast<int>(i), infos[i]);
    }
}

PaneInfo CDisabledCSplitterWnd::GetPaneInfo(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= panes_.size()) {
        return {};
    }
    return panes_[static_cast<std::size_t>(index)];
}

void CDisabledCSplitterWnd::RecalcLayout() {
    if (panes_.empty()) {
        return;
    }
    const int length = orientation() == Qt::Horizontal ? width() : height();
    const int bars = handleWidth() * static_cast<int>(panes_.size() - 1);
    const std::vector<int> sizes = LayOutPanes(panes_, length - bars);
    setSizes(QList<int>(sizes.begin(), sizes.end()));
}

QSplitterHandle* CDisabledCSplitterWnd::createHandle() {
    return new InertHandle(orientation(), this);
}

void CDisabledCSplitterWnd::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    RecalcLayout();
}

}  // namespace vantrel
