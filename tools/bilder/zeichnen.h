#pragma once

// The program's pictures, drawn from vector code so that every size
// (1x, @2x, the large desktop icons) comes out sharp and reproducible.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

namespace bilder {

// Paints one picture in design units (1 unit = 1 pixel at 1x).
using PaintFunction = void (*)(QPainter &);

struct Picture {
    QString name;        // file name without ".png"
    QSize designSize;    // pixel size at 1x
    QColor background;   // Qt::transparent or an opaque colour
    PaintFunction paint;
};

// Every picture that is written as name.png and name@2x.png.
const std::vector<Picture> &pictures();

// The picture with the given name; throws std::out_of_range if unknown.
const Picture &picture(const QString &name);

// Renders at designSize * scale; scale must make that size whole.
QImage render(const Picture &picture, qreal scale);

// The 32x32 program icon design rendered at size x size.
QImage programIcon(int size);

// A Windows .ico file holding the images as PNG-compressed entries.
QByteArray icoFile(const QList<QImage> &images);

} // namespace bilder
