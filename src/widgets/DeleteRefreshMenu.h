#pragma once

#include <QPoint>
#include <functional>

class QAbstractItemView;
class QMenu;

namespace vantrel {

// Shows a built menu at a screen position; tests replace it to pick an item.
using MenuRunner = std::function<void(QMenu& menu, const QPoint& globalPosition)>;
MenuRunner ExecMenu();

// The right-click menu of the slot list and the combine lists: "Delete" and "Refresh" over a
// line, only "Refresh" below the last one. addFirst, when given, puts a view's own entries
// above them.
void ShowDeleteRefreshMenu(QAbstractItemView& view, const QPoint& viewportPosition,
                           const MenuRunner& run, const std::function<void()>& onDelete,
                           const std::function<void()>& onRefresh,
                           const std::function<void(QMenu& menu)>& addFirst = {});

}  // namespace vantrel
