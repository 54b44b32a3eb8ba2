#include "Erlaeuterungen.h"

#include "Feldleser.h"
#include "Katalog.h"
#include "Programmordner.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <functional>

namespace {

// Reads the records one by one until `je` says it has found what it wants.
void durchlaufe(QIODevice& geraet, const std::function<bool(Erlaeuterungen::Eintrag&&)>& je)
{
    Feldleser leser(&geraet);
    leser.leseText();
    leser.leseText();
    leser.leseZahl();
    for (int n = 0; n < Erlaeuterungen::HoechstensEintraege && !leser.abgebrochen() && !leser.nurNochLeerraum(); ++n) {
        std::array<std::optional<QString>, 4> feld;
        for (auto& f : feld)
            f = leser.leseText();
        // A record cut short by the end of the file, or by damage, explains nothing.
        if (leser.abgebrochen() || !feld[3])
            return;
        Erlaeuterungen::Eintrag e{Katalog::alsFrage(*feld[0]), Katalog::alsAntwort(*feld[1]),
                                  Katalog::alsAntwort(*feld[2]), Katalog::alsFrage(*feld[3])};
        if (je(std::move(e)))
            return;
    }
}

} // namespace

namespace Erlaeuterungen {

QString dateiname(int thema) { return Programmordner::datei(QStringLiteral("QXV.%1.ERL").arg(thema)); }

QList<Eintrag> lese(QIODevice& geraet)
{
    QList<Eintrag> alle;
    durchlaufe(geraet, [&](Eintrag&& e) {
        alle << std::move(e);
        return false;
    });
    return alle;
}

std::optional<Eintrag> suche(QIODevice& geraet, const QString& frage, const QString& richtigeAntwort)
{
    const QString f = frage.simplified();
    const QString a = richtigeAntwort.simplified();
    std::optional<Eintrag> gefunden;
    durchlaufe(geraet, [&](Eintrag&& e) {
        if (e.frage.simplified() != f || e.richtigeAntwort.simplified() != a || e.text.trimmed().isEmpty())
            return false;
        gefunden = std::move(e);
        return true;
    });
    return gefunden;
}

std::optional<Eintrag> fuer(int thema, const QString& frage, const QString& richtigeAntwort)
{
    // Only a plain file: a pipe or a device in its place would never end.
    const QString pfad = dateiname(thema);
    QFile datei(pfad);
    if (!QFileInfo(pfad).isFile() || !datei.open(QIODevice::ReadOnly))
        return std::nullopt;
    return suche(datei, frage, richtigeAntwort);
}

} // namespace Erlaeuterungen
