#include "Verlauf.h"

#include "Benutzerordner.h"
#include "Dateischutz.h"
#include "Katalog.h"
#include "Windows1252.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <cstring>

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
// what follows it up to the comma is skipped, as in the topic files. Returns how many fields the
// line has, counting no further than one past N; none for an open quote.
template <std::size_t N> qsizetype felder(QByteArrayView zeile, std::array<QByteArrayView, N>& ziel)
{
    qsizetype anzahl = 0;
    qsizetype i = 0;
    const qsizetype n = zeile.size();
    while (i <= n) {
        if (anzahl == qsizetype(N))
            return anzahl + 1;
        while (i < n && (zeile[i] == ' ' || zeile[i] == '\t'))
            ++i;
        if (i < n && zeile[i] == '"') {
            const qsizetype zu = zeile.indexOf('"', i + 1);
            if (zu < 0)
                return 0;
            ziel[anzahl++] = zeile.sliced(i + 1, zu - i - 1);
            i = zu + 1;
            while (i < n && zeile[i] != ',')
                ++i;
        } else {
            qsizetype ende = zeile.indexOf(',', i);
            if (ende < 0)
                ende = n;
            ziel[anzahl++] = zeile.sliced(i, ende - i).trimmed();
            i = ende;
        }
        ++i;
    }
    return anzahl;
}

// A small number in decimal digits; QByteArrayView::toInt goes through the locale's machinery,
// which a hundred thousand lines would feel.
std::optional<int> zahl(QByteArrayView feld, int von, int bis)
{
    if (feld.isEmpty() || feld.size() > 9)
        return std::nullopt;
    int wert = 0;
    for (char c : feld) {
        if (c < '0' || c > '9')
            return std::nullopt;
        wert = wert * 10 + (c - '0');
    }
    if (wert < von || wert > bis)
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

std::optional<Zeile> zerlege(QByteArrayView text)
{
    std::array<QByteArrayView, 7> f;
    if (felder(text, f) != 7 || !istZeit(f[0]) || !istZeit(f[1]) || !istKennung(f[4]))
        return std::nullopt;
    Zeile z;
    if (f[2] == "Abfrage")
        z.modus = Modus::Abfrage;
    else if (f[2] == "Fehler")
        z.modus = Modus::Fehler;
    else if (f[2] == "Pruefung")
        z.modus = Modus::Pruefung;
    else if (f[2] == "Heute")
        z.modus = Modus::Heute;
    else
        return std::nullopt;
    const auto thema = zahl(f[3], 1, Katalog::AnzahlThemen);
    const auto antwort = zahl(f[5], 0, 4);
    const auto richtig = zahl(f[6], 0, 1);
    if (!thema || !antwort || !richtig)
        return std::nullopt;
    z.zeit = f[0];
    z.lauf = f[1];
    z.thema = *thema;
    z.frage = f[4];
    z.antwort = *antwort;
    z.richtig = *richtig == 1;
    return z;
}

Eintrag Zeile::eintrag() const
{
    return {QString::fromLatin1(zeit), QString::fromLatin1(lauf), modus, thema, frage.toByteArray(), antwort, richtig};
}

std::optional<Eintrag> ausZeile(QByteArrayView zeile)
{
    if (const auto z = zerlege(zeile))
        return z->eintrag();
    return std::nullopt;
}

bool leseZeilen(QIODevice& geraet, const std::function<void(const Zeile&)>& je)
{
    // Read in pieces, line by line: a history of years stays small in memory, and a line far
    // longer than any the program writes is garbage to skip, not to gather, wherever the
    // pieces happen to end. A CR or an LF ends a line; the blank line between CR and LF is
    // nothing.
    const auto zeile = [&](QByteArrayView z) {
        if (z.isEmpty() || z.size() > ZeileHoechstens)
            return;
        if (const auto e = zerlege(z))
            je(*e);
    };
    QByteArray rest;
    bool zuLang = false;
    bool anfangGeprueft = false;
    QByteArray stueck;
    for (bool amEnde = false; !amEnde;) {
        const QByteArray neu = geraet.read(64 * 1024);
        amEnde = neu.isEmpty();
        stueck += neu;
        if (!anfangGeprueft) {
            // The mark may arrive in pieces of its own.
            if (stueck.size() < 3 && !amEnde)
                continue;
            anfangGeprueft = true;
            if (stueck.startsWith("\xEF\xBB\xBF"))
                stueck.remove(0, 3);
        }
        const QByteArrayView ganz(stueck);
        qsizetype anfang = 0;
        // The next LF is looked up once and kept, so that a file of lone CRs is not searched
        // to its end at every line; memchr runs through the bytes many at a time.
        qsizetype lf = -1;
        while (anfang < ganz.size()) {
            if (lf < anfang) {
                const void* p = std::memchr(ganz.data() + anfang, '\n', size_t(ganz.size() - anfang));
                lf = p ? static_cast<const char*>(p) - ganz.data() : ganz.size();
            }
            const void* cr = std::memchr(ganz.data() + anfang, '\r', size_t(lf - anfang));
            const qsizetype bis = cr ? static_cast<const char*>(cr) - ganz.data() : lf;
            if (bis == ganz.size())
                break;
            if (zuLang) {
                zuLang = false;
            } else if (rest.isEmpty()) {
                zeile(ganz.sliced(anfang, bis - anfang));
            } else {
                rest += ganz.sliced(anfang, bis - anfang);
                zeile(rest);
            }
            rest.clear();
            anfang = bis + 1;
        }
        if (!zuLang) {
            rest += ganz.sliced(anfang);
            if (rest.size() > ZeileHoechstens) {
                rest.clear();
                zuLang = true;
            }
        }
        stueck.clear();
    }
    if (!zuLang)
        zeile(rest);
    return true;
}

bool lese(QIODevice& geraet, const std::function<void(const Eintrag&)>& je)
{
    return leseZeilen(geraet, [&](const Zeile& z) { je(z.eintrag()); });
}

bool leseZeilen(const std::function<void(const Zeile&)>& je)
{
    const QString pfad = dateiname();
    if (!QFileInfo::exists(pfad))
        return true;
    QFile datei(pfad);
    if (!QFileInfo(pfad).isFile() || !datei.open(QIODevice::ReadOnly))
        return false;
    return leseZeilen(datei, je);
}

bool lese(const std::function<void(const Eintrag&)>& je)
{
    return leseZeilen([&](const Zeile& z) { je(z.eintrag()); });
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

bool Schreiber::schreibe(int thema, const QByteArray& frage, int antwort, bool richtig)
{
    m_grund.clear();
    if (!Benutzerordner::legeAn())
        return false;
    const QString pfad = dateiname();
    QFile datei;
    bool neu = false;
    if (!Dateischutz::oeffneZumAnhaengen(datei, pfad, &m_grund, &neu))
        return false;
    Eintrag e;
    e.zeit = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    e.lauf = m_lauf;
    e.modus = m_modus;
    e.thema = thema;
    e.frage = frage;
    e.antwort = antwort;
    e.richtig = richtig;
    QByteArray zeile = alsZeile(e);
    // A last line that a crash cut short is ended first, so that it does not run into this one.
    if (datei.size() > 0) {
        char letztes = 0;
        if (!datei.seek(datei.size() - 1) || !datei.getChar(&letztes))
            return false;
        if (letztes != '\n' && letztes != '\r')
            zeile.prepend("\r\n");
    }
    if (datei.write(zeile) != zeile.size() || !Dateischutz::synchronisiere(datei))
        return false;
    // A new file's name must outlast a power cut as well as its line.
    if (neu)
        Dateischutz::synchronisiereOrdner(QFileInfo(pfad).absolutePath());
    return true;
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

QList<Eintrag> letzterLauf(int thema, const QList<QByteArray>& kennungen, bool* gelesen)
{
    const QSet<QByteArray> bekannt(kennungen.begin(), kennungen.end());
    QList<Eintrag> lauf;
    QString aktuell;
    QHash<QByteArray, qsizetype> stelle;
    int geaendert = 0;
    const bool ok = lese([&](const Eintrag& e) {
        if (e.thema != thema || e.modus == Modus::Pruefung)
            return;
        if (lauf.isEmpty() || e.lauf != aktuell) {
            lauf.clear();
            stelle.clear();
            geaendert = 0;
            aktuell = e.lauf;
        }
        if (const auto da = stelle.constFind(e.frage); da != stelle.cend()) {
            lauf[*da] = e;
            return;
        }
        if (!bekannt.contains(e.frage)) {
            if (geaendert >= Katalog::MaxFragen)
                return;
            ++geaendert;
        }
        stelle.insert(e.frage, lauf.size());
        lauf << e;
    });
    if (gelesen)
        *gelesen = ok;
    return lauf;
}

} // namespace Verlauf
