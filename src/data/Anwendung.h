#pragma once

#include <QString>

// The program's own properties, as the About dialog and the windows show them.
namespace Anwendung {

inline const QString Titel = QStringLiteral("Selvarot I/II - Theorie");
constexpr qint16 Major = 1;
constexpr qint16 Minor = 6;
constexpr qint16 Revision = 0;

} // namespace Anwendung
