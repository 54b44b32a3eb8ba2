#include "Verlauf.h"

#include "Benutzerordner.h"
#include "Katalog.h"
#include "Windows1252.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>

namespace {

const char* modusText(Verlauf::Modus modus)
{
    switch (modus) {
    case Verlauf::Modus::Fehler:
        return "Fehler";
    case Verlauf::Modus::Pruefung:
        return "Pruefung";
    case Verlauf::Modus::Heute:
        return "Heute";
    case Verlauf::Modus::Abfrage:
        break;
    }
    return "Abfrage";
}

// Splits one line into its fields: a field in double quotes runs to the next double quote,
// what follows it up to the comma is skipped, as in the topic files.
QList<QByteArrayView> felder(QByteArrayView zeile)
{
    QList<QByteArrayView> ergebnis;
    qsizetype i = 0;
    const qsizetype n = zeile.size();
    while (i <= n) {
        while (i < n && (zeile[i] == ' ' || zeile[i] == '\t'))
            ++i;
        if (i < n && zeile[i] == '"') {
            const qsizetype zu = zeile.indexOf('"', i + 1);
            if (zu < 0)
                return {};
            ergebnis << zeile.sliced(i + 1, zu - i - 1);
            i = zu + 1;
            while (i < n && zeile[i] != ',')
                ++i;
        } else {
            qsizetype ende = zeile.indexOf(',', i);
            if (ende < 0)
                ende = n;
            ergebnis << zeile.sliced(i, ende - i).trimmed();
            i = ende;
        }
        ++i;
    }
    return ergebnis;
}

std::optional<int> zahl(QByteArrayView feld, int von, int bis)
{
    bool ok = false;
    const int wert = feld.toInt(&ok);
    if (!ok || wert < von || wert > bis)
        return std::nullopt;
    return wert;
}

bool istKennung(QByteArrayView feld)
{
    if (feld.size() != 16)
        return false;
    return std::all_of(feld.begin(), feld.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// An ISO 8601 time as the program writes it: digits, dashes, colons, a dot, T and Z.
bool istZeit(QByteArrayView feld)
{
    if (feld.size() < 20 || feld.size() > 30)
        return false;
    return std::all_of(feld.begin(), feld.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '-' || c == ':' || c == '.' || c == 'T' || c == 'Z';
    });
}

} // namespace

namespace Verlauf {

QString dateiname() { return Benutzerordner::datei(QStringLiteral("VERLAUF.QXV")); }

QByteArray kennung(const Katalog& bank, int frage)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(bank.Frage(frage).toUtf8());
    for (int k = 1; k <= 4; ++k) {
        hash.addData(QByteArrayView("\x1f", 1));
        hash.addData(bank.Antwort(frage, k).toUtf8());
    }
    hash.addData(QByteArrayView("\x1f", 1));
    hash.addData(QByteArray::number(bank.Loesung(frage)));
    return hash.result().toHex().left(16);
}

QByteArray alsZeile(const Eintrag& e)
{
    QByteArray zeile;
    zeile += '"' + Windows1252::kodiere(e.zeit) + "\",\"" + Windows1252::kodiere(e.lauf) + "\",\"";
    zeile += modusText(e.modus);
    zeile += "\"," + QByteArray::number(e.thema) + ",\"" + e.frage + "\"," + QByteArray::number(e.antwort) + ',' +
             (e.richtig ? '1' : '0') + "\r\n";
    return zeile;
}

std::optional<Eintrag> ausZeile(QByteArrayView zeile)
{
    const QList<QByteArrayView> f = felder(zeile);
    if (f.size() != 7 || !istZeit(f[0]) || !istZeit(f[1]) || !istKennung(f[4]))
        return std::nullopt;
    Eintrag e;
    if (f[2] == "Abfrage")
        e.modus = Modus::Abfrage;
    else if (f[2] == "Fehler")
        e.modus = Modus::Fehler;
    else if (f[2] == "Pruefung")
        e.modus = Modus::Pruefung;
    else if (f[2] == "Heute")
        e.modus = Modus::Heute;
    else
        return std::nullopt;
    const auto thema = zahl(f[3], 1, Katalog::AnzahlThemen);
    const auto antwort = zahl(f[5], 0, 4);
    const auto richtig = zahl(f[6], 0, 1);
    if (!thema || !antwort || !richtig)
        return std::nullopt;
    e.zeit = QString::fromLatin1(f[0]);
    e.lauf = QString::fromLatin1(f[1]);
    e.thema = *thema;
    e.frage = f[4].toByteArray();
    e.antwort = *antwort;
    e.richtig = *richtig == 1;
    return e;
}

bool lese(QIODevice& geraet, const std::function<void(const Eintrag&)>& je)
{
    // Read in pieces, line by line: a history of years stays small in memory, and a line far
    // longer than any the program writes is garbage to skip, not to gather, wherever the
    // pieces happen to end.
    const auto zeile = [&](QByteArrayView z) {
        if (z.endsWith('\r'))
            z.chop(1);
        if (z.size() > ZeileHoechstens)
            return;
        if (const auto e = ausZeile(z))
            je(*e);
    };
    QByteArray rest;
    bool zuLang = false;
    while (true) {
        const QByteArray stueck = geraet.read(64 * 1024);
        if (stueck.isEmpty())
            break;
        const QByteArrayView ganz(stueck);
        qsizetype anfang = 0;
        for (qsizetype ende; (ende = stueck.indexOf('\n', anfang)) >= 0; anfang = ende + 1) {
            if (zuLang) {
                zuLang = false;
            } else if (rest.isEmpty()) {
                zeile(ganz.sliced(anfang, ende - anfang));
            } else {
                rest += ganz.sliced(anfang, ende - anfang);
                zeile(rest);
            }
            rest.clear();
        }
        if (!zuLang) {
            rest += ganz.sliced(anfang);
            // One byte more than the bound may be the CR of a line end.
            if (rest.size() > ZeileHoechstens + 1) {
                rest.clear();
                zuLang = true;
            }
        }
    }
    if (!zuLang && !rest.isEmpty())
        zeile(rest);
    return true;
}

bool lese(const std::function<void(const Eintrag&)>& je)
{
    const QString pfad = dateiname();
    if (!QFileInfo::exists(pfad))
        return true;
    QFile datei(pfad);
    if (!QFileInfo(pfad).isFile() || !datei.open(QIODevice::ReadOnly))
        return false;
    return lese(datei, je);
}

namespace {
bool& meldung()
{
    static bool gemeldet = false;
    return gemeldet;
}
} // namespace

Schreiber::Schreiber(Modus modus)
    : m_modus(modus), m_lauf(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs))
{
}

bool Schreiber::gemeldet() { return meldung(); }

void Schreiber::setzeGemeldet(bool gemeldet) { meldung() = gemeldet; }

bool Schreiber::oeffne()
{
    if (m_datei.isOpen())
        return true;
    if (!Benutzerordner::legeAn())
        return false;
    m_datei.setFileName(dateiname());
    if (QFileInfo::exists(m_datei.fileName()) && !QFileInfo(m_datei.fileName()).isFile())
        return false;
    if (!m_datei.open(QIODevice::ReadWrite | QIODevice::Append))
        return false;
    // A last line that a crash cut short is ended first, so that it does not run into the next.
    if (m_datei.size() > 0) {
        char letztes = 0;
        if (!m_datei.seek(m_datei.size() - 1) || !m_datei.getChar(&letztes)) {
            m_datei.close();
            return false;
        }
        if (letztes != '\n' && m_datei.write("\r\n") != 2) {
            m_datei.close();
            return false;
        }
    }
    return true;
}

bool Schreiber::schreibe(int thema, const QByteArray& frage, int antwort, bool richtig)
{
    if (!oeffne())
        return false;
    Eintrag e;
    e.zeit = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    e.lauf = m_lauf;
    e.modus = m_modus;
    e.thema = thema;
    e.frage = frage;
    e.antwort = antwort;
    e.richtig = richtig;
    const QByteArray zeile = alsZeile(e);
    const bool ok = m_datei.write(zeile) == zeile.size() && m_datei.flush();
    if (!ok)
        m_datei.close();
    return ok;
}

QList<int> fehlerfragen(int thema, const QList<QByteArray>& kennungen, bool* gelesen)
{
    QHash<QByteArray, bool> letzte;
    for (const QByteArray& k : kennungen)
        letzte.insert(k, true);
    const bool ok = lese([&](const Eintrag& e) {
        if (e.thema != thema)
            return;
        auto stelle = letzte.find(e.frage);
        if (stelle != letzte.end())
            *stelle = e.richtig;
    });
    if (gelesen)
        *gelesen = ok;
    QList<int> fragen;
    for (qsizetype i = 0; i < kennungen.size(); ++i) {
        if (!letzte.value(kennungen[i]))
            fragen << int(i + 1);
    }
    return fragen;
}

QList<Eintrag> letzterLauf(int thema, bool* gelesen)
{
    QList<Eintrag> lauf;
    const bool ok = lese([&](const Eintrag& e) {
        if (e.thema != thema || e.modus == Modus::Pruefung)
            return;
        if (lauf.isEmpty() || lauf.last().lauf != e.lauf)
            lauf.clear();
        lauf << e;
    });
    if (gelesen)
        *gelesen = ok;
    return lauf;
}

} // namespace Verlauf
