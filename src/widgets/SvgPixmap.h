#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace vantrel {

// Renders one of the program's SVG pictures at a size in device-independent pixels, sharp on
// high-density screens. A null pixmap when the picture cannot be read.
QPixmap SvgPixmap(const QString& resource, QSize size, qreal devicePixelRatio = 1.0);

}  // namespace vantrel
