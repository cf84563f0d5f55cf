#include "widgets/SvgPixmap.h"

#include "widgets/Resources.h"

#include <QPainter>
#include <QSvgRenderer>

namespace vantrel {

QPixmap SvgPixmap(const QString& resource, QSize size, qreal devicePixelRatio) {
    EnsureResources();
    QSvgRenderer renderer(resource);
    if (!renderer.isValid() || size.isEmpty()) {
        return {};
    }
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

}  // namespace vantrel
