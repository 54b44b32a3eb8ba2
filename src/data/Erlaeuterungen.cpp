#include "Erlaeuterungen.h"

#include "Feldleser.h"
#include "Katalog.h"
#include "Programmordner.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

namespace {

// A text as the key compares it: blanks and line breaks count as one blank wherever they run.
QString schluessel(const QString& text) { return text.simplified(); }

// Reads the fields of one line; false at the end of the data or at damage.
bool leseZeile(Feldleser& leser, QList<QString>& felder)
{
    felder.clear();
    do {
        const auto feld = leser.leseText();
        if (!feld || leser.abgebrochen())
            return false;
        // More than a record holds is damage; the rest of the line is read but not kept.
        if (felder.size() <= 4)
            felder << *feld;
    } while (!leser.zeilenende());
    return true;
}

} // namespace

QString Erlaeuterungen::dateiname(int thema) { return Programmordner::datei(QStringLiteral("QXV.%1.ERL").arg(thema)); }

Erlaeuterungen Erlaeuterungen::lese(QIODevice& geraet)
{
    // Past the bound, only whole lines are read: a record cut in half must not show half a text.
    QByteArray bytes = geraet.read(HoechstensBytes);
    if (bytes.size() == HoechstensBytes && !geraet.atEnd())
        bytes.truncate(qMax(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r')) + 1);
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::ReadOnly);
    Feldleser leser(&puffer);

    Erlaeuterungen erl;
    QList<QString> felder;
    // The header line is skipped whatever it holds.
    for (int zeile = 0; zeile < HoechstensZeilen && leseZeile(leser, felder); ++zeile) {
        if (zeile == 0 || felder.size() != 4)
            continue;
        Eintrag e{Katalog::alsFrage(felder[0]), Katalog::alsAntwort(felder[1]),
                  Katalog::alsAntwort(felder[2]).trimmed(), Katalog::alsFrage(felder[3]).trimmed()};
        const std::pair<QString, QString> s{schluessel(e.frage), schluessel(e.richtigeAntwort)};
        if (e.text.isEmpty() || s.first.isEmpty() || s.second.isEmpty() || erl.m_index.contains(s))
            continue;
        erl.m_index.insert(s, erl.m_eintraege.size());
        erl.m_eintraege << std::move(e);
    }
    return erl;
}

Erlaeuterungen Erlaeuterungen::ausDatei(int thema)
{
    if (thema < 1 || thema > Katalog::AnzahlThemen)
        return {};
    // Only a plain file: a pipe or a device in its place would never end.
    const QString pfad = dateiname(thema);
    QFile datei(pfad);
    if (!QFileInfo(pfad).isFile() || !datei.open(QIODevice::ReadOnly))
        return {};
    return lese(datei);
}

std::optional<Erlaeuterungen::Eintrag> Erlaeuterungen::suche(const QString& frage, const QString& richtigeAntwort) const
{
    const auto i = m_index.constFind({schluessel(frage), schluessel(richtigeAntwort)});
    if (i == m_index.cend())
        return std::nullopt;
    return m_eintraege.at(*i);
}

std::optional<Erlaeuterungen::Eintrag> Erlaeuterungsdateien::suche(int thema, const QString& frage,
                                                                   const QString& richtigeAntwort)
{
    if (thema < 1 || thema > Katalog::AnzahlThemen)
        return std::nullopt;
    auto& datei = m_themen[thema];
    if (!datei)
        datei = Erlaeuterungen::ausDatei(thema);
    return datei->suche(frage, richtigeAntwort);
}
