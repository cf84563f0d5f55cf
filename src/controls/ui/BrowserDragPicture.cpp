#include "controls/ui/BrowserDragPicture.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

namespace vantrel {

QPixmap BrowserDragPicture(const QPixmap& row, int selectedCount) {
    if (selectedCount <= 1) {
        return row;
    }
    const QString text = QStringLiteral("%1 files").arg(selectedCount);
    const QFont font = QApplication::font();
    const QFontMetrics metrics(font);
    const int padding = 4;
    const QSize badge(metrics.horizontalAdvance(text) + 2 * padding, metrics.height() + padding);
    const qreal ratio = row.devicePixelRatio();
    const QSize rowSize = row.deviceIndependentSize().toSize();
    QPixmap picture(QSize(std::max(rowSize.width(), badge.width() + 8),
                          rowSize.height() + badge.height() / 2 + 2) *
                    ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPixmap(0, 0, row);
    const QRect box(QPoint(picture.deviceIndependentSize().toSize().width() - badge.width() - 2,
                           rowSize.height() - badge.height() / 2),
                    badge);
    const QPalette palette = QApplication::palette();
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette.color(QPalette::Highlight));
    painter.drawRoundedRect(box, 6, 6);
    painter.setPen(palette.color(QPalette::HighlightedText));
    painter.setFont(font);
    painter.drawText(box, Qt::AlignCenter, text);
    return picture;
}

}  // namespace vantrel
