#pragma once

#include <QPoint>
#include <functional>

class QAbstractItemView;

namespace vantrel {

// What the keys of a list do; an action left empty leaves its key to the list.
struct ListKeyActions {
    // The Delete key: the same as the menu's "Delete".
    std::function<void()> onDelete;
    // The context-menu key and Shift+F10: the menu a right click would open, at a point of the
    // list's viewport (on the current row when there is one, so the row's entries are offered).
    std::function<void(const QPoint& viewportPosition)> onMenu;
    // Return or Enter on the current row: what a double click on it does.
    std::function<void()> onActivate;
};

// Gives a list these keys. The context-menu key reaches a widget as a context-menu event of
// keyboard origin, which is taken here; a right click is left to the list.
void InstallListKeys(QAbstractItemView& view, ListKeyActions actions);

// Where a menu opened from the keyboard appears: on the current row, or at the top left of an
// empty list.
QPoint KeyboardMenuPosition(const QAbstractItemView& view);

}  // namespace vantrel
