#pragma once

#include <QIcon>
#include <QPixmap>

// The pictures compiled into the program; each has a sharper twin for high-resolution screens.
namespace Bilder {

QIcon programmIcon();
QPixmap programm32();
// Grade 1 to 4 of a topic; any other grade from an edited USER.QXV gets an empty picture.
QPixmap wertung(int note);
// Answer-box pictures 1 to 6: empty, crossed, smiling, neutral, frowning, arrow.
QPixmap kasten(int nummer);
QPixmap abbrechen();

} // namespace Bilder
