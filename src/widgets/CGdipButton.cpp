#include "widgets/CGdipButton.h"

#include <QKeyEvent>
#include <QPainter>

#include "widgets/SvgPixmap.h"

namespace vantrel {

CGdipButton::CGdipButton(const QString& normalPicture, const QString& activePicture,
                         QWidget* parent)
    : QAbstractButton(parent), normalPicture_(normalPicture), activePicture_(activePicture) {
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

bool CGdipButton::ShowsActivePicture() const {
    return underMouse() || isDown();
}

void CGdipButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, ShowsActivePicture() ? active_ : normal_);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRoundedRect(rect().adjusted(2, 2, -3, -3), 5, 5);
    }
}

void CGdipButton::resizeEvent(QResizeEvent* event) {
    QAbstractButton::resizeEvent(event);
    normal_ = SvgPixmap(normalPicture_, size(), devicePixelRatioF());
    active_ = SvgPixmap(activePicture_, size(), devicePixelRatioF());
}

void CGdipButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    update();
}

void CGdipButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !event->isAutoRepeat()) {
        animateClick();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void CGdipButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    update();
}

}  // namespace vantrel
