#include "User.h"

#include "Benutzerordner.h"
#include "Feldleser.h"
#include "Windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    if (thema >= 1 && thema <= AnzahlThemen)
        m_ergebnis[thema] = note;
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

bool LadeBenutzer(const std::function<void()>& ersterStart)
{
    // Only a plain file is read: a pipe or a device in its place would never end.
    const QString pfad = Benutzerordner::lesedatei(QStringLiteral("USER.QXV"));
    QFile datei(pfad);
    if (QFileInfo(pfad).isFile() && datei.open(QIODevice::ReadOnly) && Benutzer().lese(datei))
        return true;
    datei.close();
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

bool SpeichereBenutzer(QString* fehler)
{
    if (!Benutzerordner::legeAn()) {
        if (fehler)
            *fehler = QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(Benutzerordner::pfad());
        return false;
    }
    QSaveFile datei(dateiname());
    // Unbuffered, so that a short write (a full disk, a file-size limit) shows in what write()
    // returns: QSaveFile itself would commit a file that was cut short.
    bool ok = datei.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (ok && !schreibe(Benutzer(), datei)) {
        ok = false;
        datei.cancelWriting();
    }
    if (ok)
        ok = datei.commit();
    if (!ok && fehler)
        *fehler = datei.errorString();
    return ok;
}

} // namespace User
