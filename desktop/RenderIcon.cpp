// vantrel-render-icon SVG SIZE PNG: draws the program's icon at one size for the desktop's icon
// theme, which wants a bitmap per size besides the scalable picture.
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: vantrel-render-icon SVG SIZE PNG\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    bool sizeOk = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&sizeOk);
    if (!renderer.isValid() || !sizeOk || size <= 0) {
        std::fprintf(stderr, "vantrel-render-icon: cannot draw %s at size %s\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "vantrel-render-icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
