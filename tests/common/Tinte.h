#pragma once

#include <QFontMetrics>
#include <QImage>
#include <QLabel>

// Where a label's text really starts, by its pixels: the first row of the label's picture that
// holds anything but background. With the text drawn from the top of the label that is the
// height the font puts above its tallest glyph; centred vertically it would be lower.
inline int ersteTintenzeile(QLabel* label)
{
    const QImage bild = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb grund = bild.pixel(bild.width() - 1, bild.height() - 1);
    for (int y = 0; y < bild.height(); ++y) {
        for (int x = 0; x < bild.width(); ++x) {
            if (qGray(bild.pixel(x, y)) < qGray(grund) - 60)
                return int(y / label->devicePixelRatioF());
        }
    }
    return -1;
}

inline int tinteOben(QLabel* label)
{
    const QFontMetrics mass(label->font());
    return mass.ascent() + mass.tightBoundingRect(label->text()).top();
}
