#pragma once

#include <QIcon>
#include <QPixmap>

// The pictures compiled into the program. Each comes as an icon that holds a sharper twin
// for high-resolution screens, which a plain pixmap would not pick up.
namespace Bilder {

QIcon programmIcon();
// The 32 × 32 program icon at the given screen's pixel ratio.
QPixmap programm32(qreal pixelverhaeltnis = 1);
// Grade 1 to 4 of a topic; any other grade from an edited USER.QXV gets an empty picture.
QIcon wertung(int note);
// Answer-box pictures 1 to 6: empty, crossed, smiling, neutral, frowning, arrow.
QIcon kasten(int nummer);
QIcon abbrechen();

} // namespace Bilder
