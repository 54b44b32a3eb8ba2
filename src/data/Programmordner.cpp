#include "Programmordner.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& gesetzt()
{
    static QString ordner;
    return ordner;
}
} // namespace

namespace Programmordner {

QString pfad()
{
    if (!gesetzt().isEmpty())
        return gesetzt();
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

void setze(const QString& ordner) { gesetzt() = QDir::toNativeSeparators(ordner); }

QString datei(const QString& name)
{
    QString p = pfad();
    if (!p.endsWith(QDir::separator()))
        p += QDir::separator();
    return p + name;
}

} // namespace Programmordner
