#include "widgets/ListKeys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>

namespace vantrel {

namespace {

class ListKeyFilter final : public QObject {
  public:
    ListKeyFilter(QAbstractItemView& view, ListKeyActions actions)
        : QObject(&view), view_(view), actions_(std::move(actions)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        (void)watched;
        if (event->type() == QEvent::ContextMenu) {
            auto* menu = static_cast<QContextMenuEvent*>(event);
            if (menu->reason() == QContextMenuEvent::Keyboard && actions_.onMenu) {
                actions_.onMenu(KeyboardMenuPosition(view_));
                return true;
            }
            return false;
        }
        if (event->type() != QEvent::KeyPress || Editing()) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Delete && modifiers == Qt::NoModifier && actions_.onDelete) {
            actions_.onDelete();
            return true;
        }
        if (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier && actions_.onMenu) {
            actions_.onMenu(KeyboardMenuPosition(view_));
            return true;
        }
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && modifiers == Qt::NoModifier && actions_.onActivate) {
            actions_.onActivate();
            return true;
        }
        return false;
    }

  private:
    // A name being edited in place has an editor inside the list; its keys are its own.
    bool Editing() const {
        const QWidget* focus = QApplication::focusWidget();
        return focus != nullptr && focus != &view_ && focus != view_.viewport() &&
               view_.isAncestorOf(focus);
    }

    QAbstractItemView& view_;
    ListKeyActions actions_;
};

}  // namespace

QPoint KeyboardMenuPosition(const QAbstractItemView& view) {
    const QModelIndex current = view.currentIndex();
    if (current.isValid()) {
        const QRect row = view.visualRect(current);
        if (row.isValid()) {
            return row.center();
        }
    }
    return {4, 4};
}

void InstallListKeys(QAbstractItemView& view, ListKeyActions actions) {
    auto* filter = new ListKeyFilter(view, std::move(actions));
    view.installEventFilter(filter);
    view.viewport()->installEventFilter(filter);
}

}  // namespace vantrel
