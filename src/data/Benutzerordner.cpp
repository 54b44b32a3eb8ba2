#include "Benutzerordner.h"

#include "Programmordner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

struct Zustand {
    Benutzerordner::Ort ort = Benutzerordner::Ort::Programmordner;
    bool bestimmt = false;
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
    zustand().bestimmt = true;
}

bool bestimmt() { return zustand().bestimmt; }

Ort ort() { return zustand().ort; }

QString nachXdg(const QString& xdgDataHome, const QString& home)
{
    QString basis;
    if (!xdgDataHome.isEmpty() && QDir::isAbsolutePath(xdgDataHome))
        basis = xdgDataHome;
    else if (!home.isEmpty() && QDir::isAbsolutePath(home))
        basis = QDir(home).filePath(QStringLiteral(".local/share"));
    if (basis.isEmpty())
        return {};
    return QDir::cleanPath(QDir(basis).filePath(QCoreApplication::applicationName()));
}

QString datenordner()
{
    if (!zustand().datenordner.isEmpty())
        return zustand().datenordner;
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Qt takes a relative XDG_DATA_HOME as it stands and puts a user without a home under "/".
    return QDir::toNativeSeparators(
        nachXdg(qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("HOME")));
#else
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
#endif
}

QString pfad() { return ort() == Ort::Programmordner ? Programmordner::pfad() : datenordner(); }

QString datei(const QString& name)
{
    const QString ordner = pfad();
    return ordner.isEmpty() ? QString() : mitTrenner(ordner, name);
}

QString lesedatei(const QString& name)
{
    const QString eigene = datei(name);
    if (ort() == Ort::Programmordner || (!eigene.isEmpty() && QFileInfo::exists(eigene)))
        return eigene;
    return Programmordner::datei(name);
}

// Only the data folder is made; a program folder that has gone stays gone.
bool legeAn() { return ort() == Ort::Programmordner || (!pfad().isEmpty() && QDir().mkpath(pfad())); }

void setzeDatenordner(const QString& ordner) { zustand().datenordner = QDir::toNativeSeparators(ordner); }

void setzePruefer(std::function<bool(const QString&, bool)> pruefer) { zustand().pruefer = std::move(pruefer); }

void setzeZurueck() { zustand() = Zustand(); }

} // namespace Benutzerordner
