#pragma once

#include <optional>
#include <span>
#include <vector>

namespace vantrel {

// What a splitter knows about one of its panes: the size it would like and the size below which
// it is not worth showing.
struct PaneInfo {
    int ideal = 0;
    int minimum = 0;
};

// Shares `available` pixels among panes in order: each pane but the last gets its ideal size as
// long as space remains, a pane that would end up below its minimum is hidden (0), and the last
// pane takes whatever is left. Never negative.
std::vector<int> LayOutPanes(std::span<const PaneInfo> panes, int available);

// The fixed size rules of the main window. Each answers nullopt when the rule leaves the panes
// as they are.
// Rows of the main frame from its outer height: top, device-panel strip, file browser.
std::optional<std::vector<PaneInfo>> MainFrameRows(int outerHeight);
// Columns of the top row from its width: slots, download, combine lists, combine button, tabs.
std::optional<std::vector<PaneInfo>> TopViewColumns(int width);
// Initial columns of the top row when it is created.
std::vector<PaneInfo> TopViewInitialColumns(int width);
// Columns of the bottom row: folder tree a third, file list two thirds.
std::vector<PaneInfo> BottomViewColumns(int width);

}  // namespace vantrel
