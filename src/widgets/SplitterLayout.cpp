#include "widgets/SplitterLayout.h"

#include <algorithm>

namespace vantrel {

namespace {
constexpr int kStripHeight = 60;
constexpr int kRowMinimum = 100;
constexpr int kTabsWidth = 230;

// The top row at the window's smallest width (800): the combine lists first get what their
// file name, Beat, Tempo and Bytes columns and the play strip under them need, the tabs what
// their three names and a column of file names need, the download pane and the Combine button
// their fixed width, and the slot list what is left. A wider window shares what it adds among
// the combine lists (two fifths), the tabs (one fifth) and the slot list (the rest).
constexpr int kNarrowestTop = 800;
constexpr int kTopBars = 4 * 4;
constexpr int kButtonColumn = 115;
constexpr int kCombineColumn = 272;
constexpr int kTabsColumn = 170;
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
    const int extra = std::max(width - kNarrowestTop, 0);
    const int combine = kCombineColumn + extra * 2 / 5;
    const int tabs = kTabsColumn + extra / 5;
    const int slotList = std::max(width - kTopBars - 2 * kButtonColumn - combine - tabs, 0);
    return std::vector<PaneInfo>{{slotList, 0},
                                 {kButtonColumn, kButtonColumn},
                                 {combine, 0},
                                 {kButtonColumn, kButtonColumn},
                                 {tabs, 0}};
}

std::vector<PaneInfo> TopViewInitialColumns(int width) {
    const int side = (width - kTabsWidth) / 2;
    return {{side, 0}, {120, 0}, {side, 0}, {110, 0}, {220, 0}};
}

std::vector<PaneInfo> BottomViewColumns(int width) {
    return {{width / 3, 0}, {width * 2 / 3, 0}};
}

}  // namespace vantrel
