#include "zeichnen.h"

#include <QBuffer>
#include <QDataStream>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <stdexcept>

namespace bilder {

namespace {

// ---------------------------------------------------------------- colours

const QColor kBlue(0, 51, 153);          // program letters, question mark
const QColor kIconRed(255, 0, 0);        // "I/II" in the program icon
const QColor kIconGreen(0, 153, 51);     // radio set
const QColor kWaveGrey(128, 128, 128);   // radio waves
const QColor kWindowBlue(102, 153, 255); // boat window

// ---------------------------------------------------------------- letters
//
// The icon letters are built from polygons instead of a font, so the icon
// looks the same on every machine.

QPainterPath polygonPath(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// Outline of one glyph filling box; stroke is the line thickness.
QPainterPath glyphPath(QChar c, const QRectF &box, qreal stroke)
{
    const qreal l = box.left(), r = box.right(), t = box.top(), b = box.bottom();
    const qreal a = stroke * 1.2; // horizontal extent of a slanted stroke
    const qreal mid = (l + r) / 2;
    QPainterPath path;
    switch (c.unicode()) {
    case 'Q': {
        QPainterPath ring;
        ring.addEllipse(box);
        QPainterPath hole;
        hole.addEllipse(box.adjusted(stroke, stroke, -stroke, -stroke));
        const qreal tx = l + box.width() * 0.55, ty = t + box.height() * 0.62;
        const QPainterPath tail = polygonPath({{tx, ty}, {tx + a, ty}, {r + a * 0.3, b + stroke * 0.4}, {r - a * 0.7, b + stroke * 0.4}});
        path = ring.subtracted(hole).united(tail);
        break;
    }
    case 'X':
        path = polygonPath({{l, t}, {l + a, t}, {r, b}, {r - a, b}})
                   .united(polygonPath({{r - a, t}, {r, t}, {l + a, b}, {l, b}}));
        break;
    case 'V':
        path = polygonPath({{l, t}, {l + a, t}, {mid + a / 2, b}, {mid - a / 2, b}})
                   .united(polygonPath({{r - a, t}, {r, t}, {mid + a / 2, b}, {mid - a / 2, b}}));
        break;
    case '/':
        path = polygonPath({{r - a, t}, {r, t}, {l + a, b}, {l, b}});
        break;
    default: // 'I'
        path.addRect(box);
        break;
    }
    return path;
}

// Fills the glyph c (one of Q, X, V, I, /) into box.
void drawGlyph(QPainter &p, QChar c, const QRectF &box, qreal stroke, const QColor &colour)
{
    p.fillPath(glyphPath(c, box, stroke), colour);
}

// ---------------------------------------------------------------- faces

enum class Mouth { Smile, Straight, Frown };

struct FaceGeometry {
    QPointF centre;
    qreal radius;     // of the outline's centre line
    qreal line;       // outline and mouth thickness
    qreal eyeRadius;
    qreal eyeDx;      // eye offset from the centre, left/right
    qreal eyeDy;      // eye offset from the centre, up (negative)
    qreal mouthHalf;  // half the mouth's width
    qreal mouthY;     // mouth height below the centre
    qreal bend;       // how far the mouth's middle leaves its corners
};

void drawFace(QPainter &p, const FaceGeometry &g, const QColor &colour, Mouth mouth)
{
    p.save();
    p.setPen(QPen(colour, g.line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(g.centre, g.radius, g.radius);

    const qreal cx = g.centre.x(), my = g.centre.y() + g.mouthY;
    QPainterPath path;
    switch (mouth) {
    case Mouth::Straight:
        path.moveTo(cx - g.mouthHalf, my);
        path.lineTo(cx + g.mouthHalf, my);
        break;
    case Mouth::Smile:  // corners up, middle down
    case Mouth::Frown: {
        const qreal sign = mouth == Mouth::Smile ? 1 : -1;
        const qreal corners = my - sign * g.bend / 2;
        // a quadratic curve's middle lies halfway to its control point
        path.moveTo(cx - g.mouthHalf, corners);
        path.quadTo(cx, corners + sign * 2 * g.bend, cx + g.mouthHalf, corners);
        break;
    }
    }
    p.drawPath(path);

    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const qreal ey = g.centre.y() + g.eyeDy;
    p.drawEllipse(QPointF(cx - g.eyeDx, ey), g.eyeRadius, g.eyeRadius);
    p.drawEllipse(QPointF(cx + g.eyeDx, ey), g.eyeRadius, g.eyeRadius);
    p.restore();
}

// Face for the 16x16 grade icons.
void drawGradeFace(QPainter &p, const QColor &colour, Mouth mouth)
{
    drawFace(p, {{8, 8}, 6.6, 1.45, 1.15, 2.5, -1.9, 3.3, 2.5, 1.5}, colour, mouth);
}

// Face for the 45x45 answer boxes.
void drawBoxFace(QPainter &p, const QColor &colour, Mouth mouth)
{
    drawFace(p, {{22.5, 22.5}, 19.5, 3.2, 3.0, 7.0, -5.5, 10.5, 7.5, 4.5}, colour, mouth);
}

// ---------------------------------------------------------------- radio waves

// Concentric arc strokes around centre, spanning +-halfAngle degrees around
// the direction directionDeg (0 = right, 180 = left).
void drawWaves(QPainter &p, QPointF centre, std::initializer_list<qreal> radii,
               qreal directionDeg, qreal halfAngle, qreal line)
{
    p.save();
    p.setPen(QPen(kWaveGrey, line, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (const qreal r : radii) {
        const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
        QPainterPath arc;
        arc.arcMoveTo(box, directionDeg - halfAngle);
        arc.arcTo(box, directionDeg - halfAngle, 2 * halfAngle);
        p.drawPath(arc);
    }
    p.restore();
}

// ---------------------------------------------------------------- program icon

void drawBoat(QPainter &p)
{
    // hull: square stern on the left, pointed bow on the right
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({{1, 21}, {17, 21}, {13.5, 26}, {2, 26}}));

    // white cabin with a sloped windscreen, outlined so it shows on white
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{3.5, 20.5}, {3.5, 16.5}, {9.5, 16.5}, {12.5, 20.5}}));
    p.fillRect(QRectF(5, 18, 3, 2), kWindowBlue);
}

void drawRadioSet(QPainter &p)
{
    p.fillRect(QRectF(26, 14, 1, 10), Qt::black);            // antenna
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(kIconGreen);
    p.drawRect(QRectF(21.5, 23.5, 9, 7));                     // body
    p.fillRect(QRectF(23, 25, 4, 2), QColor(204, 255, 204));  // display
    p.fillRect(QRectF(28, 25, 1, 1), Qt::black);              // knobs
    p.fillRect(QRectF(28, 27, 1, 1), Qt::black);
    p.fillRect(QRectF(23, 28, 4, 1), Qt::black);              // speaker slot
}

void paintProgram32(QPainter &p)
{
    drawGlyph(p, 'Q', {0, 1, 6, 7}, 1.6, kBlue);
    drawGlyph(p, 'X', {7, 1, 5, 7}, 1.6, kBlue);
    drawGlyph(p, 'V', {13, 1, 5, 7}, 1.6, kBlue);
    drawGlyph(p, 'I', {20, 1, 2, 7}, 2, kIconRed);
    drawGlyph(p, '/', {23, 1, 3, 7}, 1.5, kIconRed);
    drawGlyph(p, 'I', {27, 1, 2, 7}, 2, kIconRed);
    drawGlyph(p, 'I', {30, 1, 2, 7}, 2, kIconRed);
    drawWaves(p, {26.5, 14}, {3, 6.5, 10}, 180, 30, 1.5);
    drawBoat(p);
    drawRadioSet(p);
}

void paintProgram16(QPainter &p)
{
    drawGlyph(p, 'Q', {0, 0.5, 5, 6}, 1.4, kBlue);
    drawGlyph(p, 'X', {5.5, 0.5, 5, 6}, 1.4, kBlue);
    drawGlyph(p, 'V', {11, 0.5, 5, 6}, 1.4, kBlue);
    drawWaves(p, {13, 10.5}, {3, 5.6}, 180, 36, 1.3);
    p.fillRect(QRectF(12, 10, 2, 6), Qt::black); // antenna
}

// ---------------------------------------------------------------- grade icons

void paintGrade1(QPainter &p)
{
    p.setPen(QPen(QColor(0, 51, 153), 2.3, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(4.6, 5.4);
    hook.cubicTo(4.6, 1.3, 11.4, 1.3, 11.4, 5.0);
    hook.cubicTo(11.4, 7.5, 8.0, 7.5, 8.0, 9.6);
    hook.lineTo(8.0, 10.6);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 51, 153));
    p.drawEllipse(QPointF(8.0, 13.4), 1.4, 1.4);
}

void paintGrade2(QPainter &p) { drawGradeFace(p, QColor(255, 16, 16), Mouth::Frown); }
void paintGrade3(QPainter &p) { drawGradeFace(p, QColor(255, 204, 0), Mouth::Straight); }
void paintGrade4(QPainter &p) { drawGradeFace(p, QColor(0, 153, 51), Mouth::Smile); }

// ---------------------------------------------------------------- answer boxes

void paintBox1(QPainter &p)
{
    p.fillRect(QRect(5, 5, 35, 35), Qt::black); // frame: pixels 5..39
    p.fillRect(QRect(8, 8, 29, 29), Qt::white); // inside: pixels 8..36
}

void paintBox2(QPainter &p)
{
    paintBox1(p);
    p.setPen(QPen(QColor(0, 0, 255), 5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(1.5, 1.5), QPointF(43.5, 43.5));
    p.drawLine(QPointF(43.5, 1.5), QPointF(1.5, 43.5));
}

void paintBox3(QPainter &p) { drawBoxFace(p, QColor(0, 153, 51), Mouth::Smile); }
void paintBox4(QPainter &p) { drawBoxFace(p, QColor(204, 204, 51), Mouth::Straight); }
void paintBox5(QPainter &p) { drawBoxFace(p, QColor(255, 0, 0), Mouth::Frown); }

void paintBox6(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 153, 51));
    p.drawPolygon(QPolygonF({{4, 16}, {22, 16}, {22, 5}, {41, 22.5},
                             {22, 40}, {22, 29}, {4, 29}}));
}

// ---------------------------------------------------------------- leave button

// Outline of the curved arrow: a thick curve rising from the lower left,
// ending in a head that points right.
QPainterPath leaveArrow()
{
    QPainterPath curve;
    curve.moveTo(3, 14);
    curve.quadTo(3, 7, 9.5, 7);
    QPainterPathStroker stroker;
    stroker.setWidth(4);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(curve)
        .united(polygonPath({{9, 1.5}, {14.5, 7}, {9, 12.5}}))
        .simplified();
}

void paintLeave(QPainter &p)
{
    const QPainterPath arrow = leaveArrow();
    p.fillPath(arrow.translated(1, 2), QColor(128, 128, 128));
    p.fillPath(arrow.translated(0, 1), QColor(128, 0, 0));
    p.fillPath(arrow, Qt::black);
}

} // namespace

// ---------------------------------------------------------------- catalogue

const std::vector<Picture> &pictures()
{
    const QColor clear = Qt::transparent;
    const QColor white = Qt::white;
    static const std::vector<Picture> all = {
        {"programm32", {32, 32}, clear, paintProgram32},
        {"programm16", {16, 16}, clear, paintProgram16},
        {"wertung1", {16, 16}, white, paintGrade1},
        {"wertung2", {16, 16}, white, paintGrade2},
        {"wertung3", {16, 16}, white, paintGrade3},
        {"wertung4", {16, 16}, white, paintGrade4},
        {"kasten1", {45, 45}, clear, paintBox1},
        {"kasten2", {45, 45}, clear, paintBox2},
        {"kasten3", {45, 45}, clear, paintBox3},
        {"kasten4", {45, 45}, clear, paintBox4},
        {"kasten5", {45, 45}, clear, paintBox5},
        {"kasten6", {45, 45}, clear, paintBox6},
        {"abbrechen", {16, 16}, clear, paintLeave},
    };
    return all;
}

const Picture &picture(const QString &name)
{
    for (const Picture &pic : pictures())
        if (pic.name == name)
            return pic;
    throw std::out_of_range("unknown picture: " + name.toStdString());
}

QImage render(const Picture &picture, qreal scale)
{
    const qreal w = picture.designSize.width() * scale;
    const qreal h = picture.designSize.height() * scale;
    if (w != std::round(w) || h != std::round(h) || w < 1 || h < 1)
        throw std::invalid_argument("scale does not give a whole pixel size");

    QImage image(int(w), int(h), QImage::Format_ARGB32_Premultiplied);
    image.fill(picture.background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    picture.paint(p);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage programIcon(int size)
{
    return render(picture("programm32"), size / 32.0);
}

QByteArray icoFile(const QList<QImage> &images)
{
    QList<QByteArray> pngs;
    for (const QImage &image : images) {
        if (image.width() > 256 || image.height() > 256)
            throw std::invalid_argument("icon entries are at most 256 pixels");
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
        pngs.append(png);
    }

    QByteArray ico;
    QDataStream out(&ico, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size()); // icon file, n entries

    quint32 offset = 6 + 16 * quint32(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QImage &image = images[i];
        out << quint8(image.width() % 256) << quint8(image.height() % 256) // 0 means 256
            << quint8(0) << quint8(0)                                      // no palette
            << quint16(1) << quint16(32)                                   // planes, bits
            << quint32(pngs[i].size()) << offset;
        offset += quint32(pngs[i].size());
    }
    for (const QByteArray &png : pngs)
        out.writeRawData(png.constData(), int(png.size()));
    return ico;
}

} // namespace bilder
