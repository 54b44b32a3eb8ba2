#include "Bilder.h"

namespace {
QPixmap lade(const QString& name) { return QPixmap(QStringLiteral(":/bilder/") + name); }
} // namespace

namespace Bilder {

QIcon programmIcon()
{
    QIcon icon;
    for (const char* name : {"programm16.png", "programm32.png", "programm48.png", "programm64.png",
                             "programm128.png", "programm256.png"})
        icon.addFile(QStringLiteral(":/bilder/") + QLatin1String(name));
    return icon;
}

QPixmap programm32() { return lade(QStringLiteral("programm32.png")); }

QPixmap wertung(int note)
{
    if (note >= 1 && note <= 4)
        return lade(QStringLiteral("wertung%1.png").arg(note));
    QPixmap leer(16, 16);
    leer.fill(Qt::transparent);
    return leer;
}

QPixmap kasten(int nummer) { return lade(QStringLiteral("kasten%1.png").arg(nummer)); }

QPixmap abbrechen() { return lade(QStringLiteral("abbrechen.png")); }

} // namespace Bilder
