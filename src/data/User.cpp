#include "User.h"

#include "Benutzerordner.h"
#include "Dateischutz.h"
#include "Feldleser.h"
#include "Windows1252.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A text of the first line goes between double quotes, which it cannot hold itself. One that
// holds a double quote was read from a field without them, and goes back the same way, as it
// stood; quoted, it would read back cut at its first double quote.
QByteArray alsKopffeld(const QString& text)
{
    const QByteArray bytes = Windows1252::kodiere(text);
    return text.contains(QLatin1Char('"')) ? bytes : '"' + bytes + '"';
}

} // namespace

qint16 Benutzerwertung::Ergebnis(int thema) const
{
    return thema >= 1 && thema <= AnzahlThemen ? m_ergebnis[thema] : 0;
}

void Benutzerwertung::setzeErgebnis(int thema, qint16 note)
{
    if (thema >= 1 && thema <= AnzahlThemen) {
        m_ergebnis[thema] = note;
        m_benotet[thema] = true;
    }
}

bool Benutzerwertung::benotet(int thema) const { return thema >= 1 && thema <= AnzahlThemen && m_benotet[thema]; }

Benutzerwertung Benutzerwertung::ueber(const Benutzerwertung& datei) const
{
    Benutzerwertung neu = datei;
    for (int i = 1; i <= AnzahlThemen; ++i) {
        if (m_benotet[i])
            neu.setzeErgebnis(i, m_ergebnis[i]);
    }
    return neu;
}

bool Benutzerwertung::operator==(const Benutzerwertung& andere) const
{
    return Kopf1 == andere.Kopf1 && Kopf2 == andere.Kopf2 && m_ergebnis == andere.m_ergebnis;
}

bool Benutzerwertung::lese(QIODevice& geraet)
{
    Feldleser leser(&geraet);
    Benutzerwertung neu;
    const auto kopf1 = leser.leseText();
    const auto kopf2 = leser.leseText();
    if (!kopf1 || !kopf2)
        return false;
    neu.Kopf1 = *kopf1;
    neu.Kopf2 = *kopf2;
    for (int i = 1; i <= AnzahlThemen; ++i) {
        const auto note = leser.leseZahl();
        if (!note)
            return false;
        neu.m_ergebnis[i] = *note;
    }
    *this = neu;
    return true;
}

QByteArray Benutzerwertung::alsDatei() const
{
    QByteArray bytes;
    bytes += alsKopffeld(Kopf1) + ',' + alsKopffeld(Kopf2) + "\r\n";
    for (int i = 1; i <= AnzahlThemen; ++i)
        bytes += QByteArray::number(m_ergebnis[i]) + "\r\n";
    return bytes;
}

Benutzerwertung& Benutzer()
{
    static Benutzerwertung wertung;
    return wertung;
}

namespace User {

QString dateiname() { return Benutzerordner::datei(QStringLiteral("USER.QXV")); }

namespace {

// Only a plain file is read: a pipe or a device in its place would never end.
bool lies(const QString& pfad, Benutzerwertung& wertung)
{
    QFile datei(pfad);
    return !pfad.isEmpty() && QFileInfo(pfad).isFile() && datei.open(QIODevice::ReadOnly) && wertung.lese(datei);
}

// A file that cannot be read may still hold what the learner wants back (a grade edited by
// hand, a line lost): it is kept beside before the defaults go over it.
bool bewahreDefekte(const QString& pfad, QString* fehler, QString* grund)
{
    const QString kopie = pfad + QStringLiteral(".defekt");
    QFile alt(pfad);
    if (!alt.open(QIODevice::ReadOnly)) {
        if (fehler)
            *fehler = alt.errorString();
        return false;
    }
    if (const QString bedenken = Dateischutz::bedenken(kopie); !bedenken.isEmpty()) {
        if (fehler)
            *fehler = bedenken;
        if (grund)
            *grund = bedenken;
        return false;
    }
    return Dateischutz::ersetze(kopie, alt.read(DefektHoechstens), fehler);
}

bool& gemeldet()
{
    static bool g = false;
    return g;
}

} // namespace

bool LadeBenutzer(const std::function<void()>& ersterStart)
{
    if (lies(Benutzerordner::lesedatei(QStringLiteral("USER.QXV")), Benutzer()))
        return true;
    if (ersterStart)
        ersterStart();
    Benutzer() = Benutzerwertung();
    return false;
}

bool schreibe(const Benutzerwertung& wertung, QIODevice& geraet)
{
    const QByteArray bytes = wertung.alsDatei();
    return geraet.write(bytes) == bytes.size();
}

bool SpeichereBenutzer(QString* fehler, QString* grund)
{
    if (grund)
        grund->clear();
    if (!Benutzerordner::legeAn()) {
        if (fehler)
            *fehler = Benutzerordner::pfad().isEmpty()
                          ? QStringLiteral("Der persönliche Datenordner ist nicht bekannt.")
                          : QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(Benutzerordner::pfad());
        return false;
    }
    const QString pfad = dateiname();
    if (const QString bedenken = Dateischutz::bedenken(pfad); !bedenken.isEmpty()) {
        if (fehler)
            *fehler = bedenken;
        if (grund)
            *grund = bedenken;
        return false;
    }
    Benutzerwertung neu = Benutzer();
    Benutzerwertung jetzt;
    if (lies(pfad, jetzt))
        neu = Benutzer().ueber(jetzt);
    else if (QFileInfo(pfad).isFile() && !bewahreDefekte(pfad, fehler, grund))
        return false;
    if (!Dateischutz::ersetze(pfad, neu.alsDatei(), fehler))
        return false;
    Benutzer() = neu;
    return true;
}

bool fehlerGemeldet() { return gemeldet(); }

void setzeFehlerGemeldet(bool g) { gemeldet() = g; }

} // namespace User
