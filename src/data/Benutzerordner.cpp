#include "Benutzerordner.h"

#include "Programmordner.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

struct Zustand {
    Benutzerordner::Ort ort = Benutzerordner::Ort::Programmordner;
    QString datenordner;
    std::function<bool(const QString&, bool)> pruefer;
};

Zustand& zustand()
{
    static Zustand z;
    return z;
}

// A folder is writable when a new file can really be made in it: permission bits say nothing
// for an administrator, a read-only medium or a network share.
bool beschreibbar(const QString& pfad, bool istOrdner)
{
    if (zustand().pruefer)
        return zustand().pruefer(pfad, istOrdner);
    if (!istOrdner)
        return QFileInfo(pfad).isWritable();
    QTemporaryFile probe(QDir(pfad).filePath(QStringLiteral(".selvarot-XXXXXX")));
    return probe.open();
}

QString mitTrenner(const QString& ordner, const QString& name)
{
    QString p = QDir::toNativeSeparators(ordner);
    if (!p.endsWith(QDir::separator()))
        p += QDir::separator();
    return p + name;
}

} // namespace

namespace Benutzerordner {

Ort waehle(const Lage& lage)
{
    if (lage.ordnerBeschreibbar && (!lage.dateiDa || lage.dateiBeschreibbar))
        return Ort::Programmordner;
    return Ort::Datenordner;
}

void bestimme()
{
    const QString user = Programmordner::datei(QStringLiteral("USER.QXV"));
    Lage lage;
    lage.ordnerBeschreibbar = beschreibbar(Programmordner::pfad(), true);
    lage.dateiDa = QFileInfo::exists(user);
    lage.dateiBeschreibbar = !lage.dateiDa || beschreibbar(user, false);
    zustand().ort = waehle(lage);
}

Ort ort() { return zustand().ort; }

QString datenordner()
{
    if (!zustand().datenordner.isEmpty())
        return zustand().datenordner;
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString pfad() { return ort() == Ort::Programmordner ? Programmordner::pfad() : datenordner(); }

QString datei(const QString& name) { return mitTrenner(pfad(), name); }

QString lesedatei(const QString& name)
{
    const QString eigene = datei(name);
    if (ort() == Ort::Programmordner || QFileInfo::exists(eigene))
        return eigene;
    return Programmordner::datei(name);
}

// Only the data folder is made; a program folder that has gone stays gone.
bool legeAn() { return ort() == Ort::Programmordner || QDir().mkpath(pfad()); }

void setzeDatenordner(const QString& ordner) { zustand().datenordner = QDir::toNativeSeparators(ordner); }

void setzePruefer(std::function<bool(const QString&, bool)> pruefer) { zustand().pruefer = std::move(pruefer); }

void setzeZurueck() { zustand() = Zustand(); }

} // namespace Benutzerordner
