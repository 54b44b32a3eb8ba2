#include "Bilder.h"

namespace {
QIcon lade(const QString& name) { return QIcon(QStringLiteral(":/bilder/") + name); }
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

QPixmap programm32(qreal pixelverhaeltnis)
{
    return lade(QStringLiteral("programm32.png")).pixmap(QSize(32, 32), pixelverhaeltnis);
}

QIcon wertung(int note)
{
    if (note >= 1 && note <= 4)
        return lade(QStringLiteral("wertung%1.png").arg(note));
    QPixmap leer(16, 16);
    leer.fill(Qt::transparent);
    return QIcon(leer);
}

QIcon kasten(int nummer) { return lade(QStringLiteral("kasten%1.png").arg(nummer)); }

QIcon abbrechen() { return lade(QStringLiteral("abbrechen.png")); }

} // namespace Bilder
