#include "Bilder.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>

namespace {

// Every picture is a PNG. Naming the format spares the reader loading each image plug-in of
// the system just to ask whether it knows the file, which would cost start-up time.
QPixmap lies(const QString& pfad)
{
    QImageReader leser(pfad, QByteArrayLiteral("png"));
    leser.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(leser.read());
}

// The picture, and on a high-resolution screen its sharper twin "name@2x.png" as well.
void fuegeHinzu(QIcon& icon, const QString& name)
{
    const QString pfad = QStringLiteral(":/bilder/") + name + QStringLiteral(".png");
    icon.addPixmap(lies(pfad));
    if (qGuiApp && qGuiApp->devicePixelRatio() > 1) {
        const QString doppelt = QStringLiteral(":/bilder/") + name + QStringLiteral("@2x.png");
        if (QFile::exists(doppelt)) {
            QPixmap bild = lies(doppelt);
            bild.setDevicePixelRatio(2);
            icon.addPixmap(bild);
        }
    }
}

QIcon lade(const QString& name)
{
    QIcon icon;
    fuegeHinzu(icon, name);
    return icon;
}

} // namespace

namespace Bilder {

QIcon programmIcon()
{
    // Title bars and task bars use these sizes; the larger ones are for desktop menus only and
    // would cost start-up time to decode.
    QIcon icon;
    for (const char* name : {"programm16", "programm32", "programm48", "programm64"})
        fuegeHinzu(icon, QLatin1String(name));
    return icon;
}

QPixmap programm32(qreal pixelverhaeltnis)
{
    return lade(QStringLiteral("programm32")).pixmap(QSize(32, 32), pixelverhaeltnis);
}

QIcon wertung(int note)
{
    if (note >= 1 && note <= 4)
        return lade(QStringLiteral("wertung%1").arg(note));
    QPixmap leer(16, 16);
    leer.fill(Qt::transparent);
    return QIcon(leer);
}

QIcon kasten(int nummer) { return lade(QStringLiteral("kasten%1").arg(nummer)); }

QIcon abbrechen() { return lade(QStringLiteral("abbrechen")); }

} // namespace Bilder
