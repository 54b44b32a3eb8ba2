#include "Themenstart.h"

#include "Katalog.h"
#include "Meldung.h"

#include <QDir>

bool ladeThemaMitMeldung(QWidget* eltern, int thema)
{
    const QString datei = QDir::toNativeSeparators(katalog().Dateiname(thema));
    if (katalog().LadeThema(qint16(thema)) != Katalog::Ladeergebnis::Geladen) {
        Meldung::zeige(eltern, QStringLiteral("Die Themendatei\n%1\nfehlt oder kann nicht gelesen werden !").arg(datei),
                       QStringLiteral("Themendatei"));
        return false;
    }
    if (katalog().AnzahlFragen < 1) {
        Meldung::zeige(eltern, QStringLiteral("Die Themendatei\n%1\nenthält keine Fragen !").arg(datei),
                       QStringLiteral("Themendatei"));
        return false;
    }
    return true;
}
