#include "widgets/DeleteRefreshMenu.h"

#include <QAbstractItemView>
#include <QMenu>

namespace vantrel {

MenuRunner ExecMenu() {
    return [](QMenu& menu, const QPoint& at) { menu.exec(at); };
}

void ShowDeleteRefreshMenu(QAbstractItemView& view, const QPoint& viewportPosition,
                           const MenuRunner& run, const std::function<void()>& onDelete,
                           const std::function<void()>& onRefresh,
                           const std::function<void(QMenu& menu)>& addFirst) {
    QMenu menu(&view);
    if (addFirst)
        addFirst(menu);
    if (view.indexAt(viewportPosition).isValid()) {
        QObject::connect(menu.addAction(QStringLiteral("Delete")), &QAction::triggered, &view,
                         onDelete);
    }
    QObject::connect(menu.addAction(QStringLiteral("Refresh")), &QAction::triggered, &view,
                     onRefresh);
    run(menu, view.viewport()->mapToGlobal(viewportPosition));
}

}  // namespace vantrel
