#include "widgets/SplitterLayout.h"

#include <algorithm>

namespace vantrel {

namespace {
constexpr int kStripHeight = 60;
constexpr int kRowMinimum = 100;
constexpr int kTabsWidth = 230;
}  // namespace

std::vector<int> LayOutPanes(std::span<const PaneInfo> panes, int available) {
    std::vector<int> sizes;
    int remaining = std::max(available, 0);
    for (std::size_t i = 0; i < panes.size(); ++i) {
        if (i + 1 == panes.size()) {
            sizes.push_back(remaining);
            break;
        }
        int size = std::min(std::max(panes[i].ideal, 0), remaining);
        if (size < panes[i].minimum) {
            size = 0;
        }
        sizes.push_back(size);
        remaining -= size;
    }
    return sizes;
}

std::optional<std::vector<PaneInfo>> MainFrameRows(int outerHeight) {
    // A minimised window reports a tiny height; keep the last layout for when it comes back.
    if (outerHeight <= 100) {
        return std::nullopt;
    }
    const int half = (outerHeight - kStripHeight) / 2;
    return std::vector<PaneInfo>{
        {half, kRowMinimum}, {kStripHeight, kStripHeight}, {half, kRowMinimum}};
}

std::optional<std::vector<PaneInfo>> TopViewColumns(int width) {
    if (width <= 300) {
        return std::nullopt;
    }
    const int side = (width - kTabsWidth) / 2 - 115;
    return std::vector<PaneInfo>{{side, 0}, {120, 115}, {side, 0}, {115, 115}, {kTabsWidth, 0}};
}

std::vector<PaneInfo> TopViewInitialColumns(int width) {
    const int side = (width - kTabsWidth) / 2;
    return {{side, 0}, {120, 0}, {side, 0}, {110, 0}, {220, 0}};
}

std::vector<PaneInfo> BottomViewColumns(int width) {
    return {{width / 3, 0}, {width * 2 / 3, 0}};
}

}  // namespace vantrel
