// Checks on the drawn pictures: exact sizes, the answer box geometry, no
// trace of the old grey mask colour, one-colour grade icons, faces that
// smile or frown the right way, and a readable .ico container.

#include "zeichnen.h"

#include <QBuffer>
#include <QDataStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

int failures = 0;

void check(bool ok, const QString &what)
{
    if (!ok) {
        ++failures;
        std::fprintf(stderr, "FAIL: %s\n", qPrintable(what));
    }
}

QImage draw(const char *name, qreal scale = 1) { return bilder::render(bilder::picture(name), scale); }

bool isTransparent(QRgb c) { return qAlpha(c) == 0; }

// How strongly a pixel differs from the picture's background (0..1).
double ink(QRgb c, bool whiteBackground)
{
    if (!whiteBackground)
        return qAlpha(c) / 255.0;
    return (255 - std::min({qRed(c), qGreen(c), qBlue(c)})) / 255.0;
}

// Ink-weighted mean row of column x between rows y0 and y1 (inclusive).
double meanRow(const QImage &img, int x, int y0, int y1, bool white)
{
    double sum = 0, weight = 0;
    for (int y = y0; y <= y1; ++y) {
        const double w = ink(img.pixel(x, y), white);
        sum += w * y;
        weight += w;
    }
    return weight > 0 ? sum / weight : -1;
}

void checkSizesAndReproducibility()
{
    for (const bilder::Picture &pic : bilder::pictures()) {
        const QImage one = bilder::render(pic, 1), two = bilder::render(pic, 2);
        check(one.size() == pic.designSize, pic.name + ": 1x size");
        check(two.size() == pic.designSize * 2, pic.name + ": @2x size");
        check(one == bilder::render(pic, 1), pic.name + ": same picture on every run");

        // drawn at double size, not doubled pixels: some 2x2 block is uneven
        bool uneven = false;
        for (int y = 0; y < two.height() && !uneven; y += 2)
            for (int x = 0; x < two.width() && !uneven; x += 2)
                uneven = two.pixel(x, y) != two.pixel(x + 1, y + 1);
        // (the empty box is all straight pixel edges, so doubling is exact)
        check(uneven || pic.name == "kasten1", pic.name + ": @2x has its own detail");
    }
    for (const int size : {48, 64, 128, 256})
        check(bilder::programIcon(size).size() == QSize(size, size), QString("programm%1").arg(size));
}

void checkEmptyBox()
{
    for (const int s : {1, 2}) {
        const QImage img = draw("kasten1", s);
        bool ok = true;
        for (int y = 0; y < 45 * s; ++y)
            for (int x = 0; x < 45 * s; ++x) {
                const int lx = x / s, ly = y / s; // design pixel
                const bool inBox = lx >= 5 && lx <= 39 && ly >= 5 && ly <= 39;
                const bool inside = lx >= 8 && lx <= 36 && ly >= 8 && ly <= 36;
                const QRgb want = !inBox ? qRgba(0, 0, 0, 0) : inside ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
                ok &= img.pixel(x, y) == want;
            }
        check(ok, QString("kasten1 at %1x: frame at pixels 5-7 and 37-39, white inside, clear margin").arg(s));
    }
    const QImage crossed = draw("kasten2");
    for (const QPoint pt : {QPoint(2, 2), QPoint(42, 2), QPoint(2, 42), QPoint(42, 42), QPoint(22, 22)})
        check(qBlue(crossed.pixel(pt)) == 255 && qRed(crossed.pixel(pt)) == 0 && qAlpha(crossed.pixel(pt)) == 255,
              QString("kasten2: blue cross at %1,%2").arg(pt.x()).arg(pt.y()));
}

void checkNoMaskGrey()
{
    for (const char *name : {"kasten1", "kasten2", "kasten3", "kasten4", "kasten5", "kasten6", "abbrechen"})
        for (const int s : {1, 2}) {
            const QImage img = draw(name, s);
            bool clean = true;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    const QRgb c = img.pixel(x, y);
                    clean &= qAlpha(c) == 0 || std::abs(qRed(c) - 192) > 24 || std::abs(qGreen(c) - 192) > 24
                             || std::abs(qBlue(c) - 192) > 24;
                }
            check(clean, QString("%1 at %2x: no light grey pixel").arg(name).arg(s));
            check(isTransparent(img.pixel(0, img.height() / 2)), QString("%1: transparent background").arg(name));
        }
}

void checkGradeColours()
{
    const std::pair<const char *, QColor> grades[] = {{"wertung1", QColor(0, 51, 153)},
                                                      {"wertung2", QColor(255, 16, 16)},
                                                      {"wertung3", QColor(255, 204, 0)},
                                                      {"wertung4", QColor(0, 153, 51)}};
    for (const auto &[name, colour] : grades) {
        const QImage img = draw(name);
        bool oneColour = true, full = false;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QColor c = img.pixelColor(x, y);
                // every pixel is white blended with the icon colour
                const double t = ink(c.rgba(), true) / ink(colour.rgba(), true);
                for (const auto &[got, pure] : {std::pair{c.red(), colour.red()}, {c.green(), colour.green()},
                                               {c.blue(), colour.blue()}})
                    oneColour &= std::abs(got - (255 + t * (pure - 255))) <= 3;
                oneColour &= c.alpha() == 255;
                full |= std::abs(c.red() - colour.red()) <= 2 && std::abs(c.green() - colour.green()) <= 2
                        && std::abs(c.blue() - colour.blue()) <= 2;
            }
        check(oneColour, QString(name) + ": opaque, only white and its colour");
        check(full, QString(name) + ": its colour appears unfaded");
    }
}

// mouth: +1 curved up (smile), 0 straight, -1 curved down (frown)
void checkMouth(const char *name, int expected)
{
    const bool white = QString(name).startsWith("wertung");
    for (const int s : {1, 2}) {
        const QImage img = draw(name, s);
        // centre, mouth columns and the band of rows holding the mouth
        const int cx = white ? 8 * s : 22 * s, dx = white ? 3 * s : 8 * s;
        const int y0 = (white ? 9 : 25) * s, y1 = (white ? 12 : 36) * s - 1;
        const double middle = meanRow(img, cx, y0, y1, white);
        const double corners = (meanRow(img, cx - dx, y0, y1, white) + meanRow(img, cx + dx, y0, y1, white)) / 2;
        const double drop = middle - corners; // > 0: middle lower, a smile
        const bool ok = expected > 0 ? drop > 0.5 * s : expected < 0 ? drop < -0.5 * s : std::abs(drop) < 0.25 * s;
        if (std::getenv("BILDER_VERBOSE"))
            std::printf("%s %dx mouth drop %.2f\n", name, s, drop);
        check(ok && middle > 0, QString("%1 at %2x: mouth shape (drop %3)").arg(name).arg(s).arg(drop));
    }
}

void checkArrows()
{
    const QImage box = draw("kasten6");
    auto height = [&](int x) { int n = 0; for (int y = 0; y < 45; ++y) n += qAlpha(box.pixel(x, y)) > 128; return n; };
    check(height(10) > 0 && height(25) > height(10) && height(25) > height(38) && height(38) > 0,
          "kasten6: shaft, then a wide head narrowing to the right");

    const QImage leave = draw("abbrechen");
    auto lowestInk = [&](int x) { for (int y = 15; y >= 0; --y) if (qAlpha(leave.pixel(x, y)) > 128) return y; return -1; };
    check(lowestInk(3) > lowestInk(13) && lowestInk(13) >= 0, "abbrechen: rises from the lower left to the right");
    bool grey = false, darkRed = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb c = leave.pixel(x, y);
            grey |= c == qRgb(128, 128, 128);
            darkRed |= c == qRgb(128, 0, 0);
        }
    check(grey && darkRed, "abbrechen: grey and dark red shading");
}

void checkIco()
{
    const QList<QImage> images = {draw("programm16"), draw("programm32"), bilder::programIcon(256)};
    const QByteArray ico = bilder::icoFile(images);
    QDataStream in(ico);
    in.setByteOrder(QDataStream::LittleEndian);
    quint16 reserved, type, count;
    in >> reserved >> type >> count;
    check(reserved == 0 && type == 1 && count == 3, "ico: header");
    for (int i = 0; i < count; ++i) {
        quint8 w, h, colours, zero;
        quint16 planes, bits;
        quint32 size, offset;
        in >> w >> h >> colours >> zero >> planes >> bits >> size >> offset;
        const int expect = images[i].width();
        check(w == expect % 256 && h == expect % 256 && bits == 32, QString("ico: entry %1 directory").arg(i));
        check(qint64(offset) + size <= ico.size(), QString("ico: entry %1 inside the file").arg(i));
        const QImage stored = QImage::fromData(ico.mid(offset, size), "PNG");
        check(stored.convertToFormat(QImage::Format_ARGB32) == images[i], QString("ico: entry %1 image").arg(i));
    }
}

} // namespace

int main()
{
    checkSizesAndReproducibility();
    checkEmptyBox();
    checkNoMaskGrey();
    checkGradeColours();
    checkMouth("wertung2", -1);
    checkMouth("wertung3", 0);
    checkMouth("wertung4", 1);
    checkMouth("kasten3", 1);
    checkMouth("kasten4", 0);
    checkMouth("kasten5", -1);
    checkArrows();
    checkIco();
    if (failures == 0)
        std::printf("all picture checks passed\n");
    return failures == 0 ? 0 : 1;
}
