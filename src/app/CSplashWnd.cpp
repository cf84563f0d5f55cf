#include "app/CSplashWnd.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "widgets/SvgPixmap.h"

namespace vantrel {

CSplashWnd* CSplashWnd::Create() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
    QPixmap picture =
        SvgPixmap(QStringLiteral(":/vantrel/splash.svg"), QSize(kWidth, kHeight), ratio);
    if (picture.isNull()) {
        return nullptr;
    }
    return new CSplashWnd(std::move(picture));
}

CSplashWnd::CSplashWnd(QPixmap picture)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint), picture_(std::move(picture)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    setFixedSize(kWidth, kHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void CSplashWnd::paintEvent(QPaintEvent* /*event*/) {
    QPainter(this).drawPixmap(0, 0, picture_);
}

}  // namespace vantrel
