#include "widgets/CXProgressCtrl.h"

#include <QImage>
#include <QPainter>

namespace vantrel {

namespace {
constexpr int kEdge = 2;
}

CXProgressCtrl::CXProgressCtrl(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CXProgressCtrl::StepIt() {
    const int span = maximum() - minimum();
    int next = value() + step_;
    if (next > maximum() && span > 0) {
        next = minimum() + (next - maximum()) % span;
    }
    setValue(next);
}

void CXProgressCtrl::SetTextColours(QColor overTrack, QColor overBar) {
    textOverTrack_ = overTrack;
    textOverBar_ = overBar;
}

double CXProgressCtrl::Fraction() const {
    const int span = maximum() - minimum();
    if (span <= 0) {
        return 0.0;
    }
    const double fraction = static_cast<double>(value() - minimum()) / span;
    return fraction < 0.0 ? 0.0 : (fraction > 1.0 ? 1.0 : fraction);
}

QString CXProgressCtrl::PaintedText() const {
    QString text = label_;
    if (showPercent_) {
        text += QString::asprintf("%d%% ", static_cast<int>(Fraction() * 100.0 + 0.5));
    }
    return text;
}

void CXProgressCtrl::paintEvent(QPaintEvent* /*event*/) {
    QImage buffer(size() * devicePixelRatioF(), QImage::Format_RGB32);
    buffer.setDevicePixelRatio(devicePixelRatioF());
    {
        QPainter painter(&buffer);
        painter.setFont(parentWidget() != nullptr ? parentWidget()->font() : font());
        // A flat sunken edge: a shadow line outside, a face-coloured line inside it.
        const QRect outer = rect();
        painter.fillRect(outer, palette().color(QPalette::Mid));
        painter.fillRect(outer.adjusted(1, 1, -1, -1), palette().color(QPalette::Button));
        const QRect inner = outer.adjusted(kEdge, kEdge, -kEdge, -kEdge);
        painter.fillRect(inner, trackColour_);
        if (orientation() == Qt::Vertical) {
            PaintVertical(painter, inner);
        } else {
            PaintHorizontal(painter, inner);
        }
    }
    QPainter(this).drawImage(0, 0, buffer);
}

void CXProgressCtrl::PaintHorizontal(QPainter& painter, const QRect& inner) const {
    const QString text = PaintedText();
    const QFontMetrics metrics(painter.font());
    const int textWidth = metrics.horizontalAdvance(text);
    int x = inner.left() + (inner.width() - textWidth) / 2;
    if (alignment_ == TextAlignment::Left) {
        x = inner.left();
    } else if (alignment_ == TextAlignment::Right) {
        x = inner.left() + inner.width() - textWidth;
    }
    const int y = inner.top() + (inner.height() - metrics.height()) / 2;
    const QRect textBox(x, y, textWidth, metrics.height());

    const QRect bar(inner.left(), inner.top(), static_cast<int>(inner.width() * Fraction()),
                    inner.height());
    painter.fillRect(bar, barColour_);
    painter.setPen(textOverTrack_);
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
    painter.setClipRect(bar);
    painter.setPen(textOverBar_);
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
    painter.setClipping(false);
}

void CXProgressCtrl::PaintVertical(QPainter& painter, const QRect& inner) const {
    // The bar grows upwards; the text runs bottom to top through the middle of the track.
    const int barHeight = static_cast<int>(inner.height() * Fraction());
    const QRect bar(inner.left(), inner.bottom() + 1 - barHeight, inner.width(), barHeight);
    painter.fillRect(bar, barColour_);

    const QString text = PaintedText();
    painter.save();
    painter.translate(inner.center());
    painter.rotate(-90.0);
    const QRect rotated(-inner.height() / 2, -inner.width() / 2, inner.height(), inner.width());
    painter.setPen(textOverTrack_);
    painter.drawText(rotated, Qt::AlignCenter, text);
    painter.restore();

    painter.setClipRect(bar);
    painter.translate(inner.center());
    painter.rotate(-90.0);
    painter.setPen(textOverBar_);
    painter.drawText(rotated, Qt::AlignCenter, text);
    painter.resetTransform();
    painter.setClipping(false);
}

}  // namespace vantrel
