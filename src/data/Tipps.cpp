#include "Tipps.h"

#include "Benutzerordner.h"
#include "Dateischutz.h"
#include "Feldleser.h"
#include "Windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

// Far more hints than the trainer will ever have; a file that goes on is read no further.
constexpr int kHoechstens = 100;

QSet<QString>& gemerkt()
{
    static QSet<QString> namen;
    return namen;
}

QStringList ausDatei()
{
    QStringList namen;
    const QString pfad = Tipps::dateiname();
    QFile datei(pfad);
    if (!QFileInfo(pfad).isFile() || !datei.open(QIODevice::ReadOnly))
        return namen;
    Feldleser leser(&datei);
    for (int i = 0; i < kHoechstens && !leser.abgebrochen() && !leser.nurNochLeerraum(); ++i) {
        const auto name = leser.leseText();
        if (!name)
            break;
        if (!name->trimmed().isEmpty())
            namen << name->trimmed();
    }
    return namen;
}

} // namespace

namespace Tipps {

QString dateiname() { return Benutzerordner::datei(QStringLiteral("TIPPS.QXV")); }

bool gezeigt(const QString& name) { return gemerkt().contains(name) || ausDatei().contains(name); }

bool merke(const QString& name)
{
    gemerkt().insert(name);
    QStringList namen = ausDatei();
    if (namen.contains(name))
        return true;
    namen << name;
    if (!Benutzerordner::legeAn())
        return false;
    QByteArray bytes;
    for (const QString& n : namen)
        bytes += '"' + Windows1252::kodiere(n) + "\"\r\n";
    // Written as USER.QXV is: whole or not at all, and never through a link someone else planted.
    const QString pfad = dateiname();
    return !pfad.isEmpty() && Dateischutz::bedenken(pfad).isEmpty() && Dateischutz::ersetze(pfad, bytes, nullptr);
}

void vergiss() { gemerkt().clear(); }

} // namespace Tipps
