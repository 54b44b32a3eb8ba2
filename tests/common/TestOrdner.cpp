#include "TestOrdner.h"

#include "Benutzerordner.h"
#include "Katalog.h"
#include "Meldung.h"
#include "Programmordner.h"
#include "Tipps.h"
#include "User.h"
#include "Verlauf.h"
#include "Windows1252.h"

#include <QDir>
#include <QFile>
#include <QTest>

TestOrdner::TestOrdner()
{
    QVERIFY2(m_ordner.isValid(), "no temporary folder");
    Programmordner::setze(m_ordner.path());
    Benutzerordner::setzeZurueck();
    Benutzerordner::setzeDatenordner(m_ordner.filePath(QStringLiteral("Daten")));
    katalog() = Katalog();
    Benutzer() = Benutzerwertung();
    Meldung::beantworteAutomatisch();
    Meldung::vergiss();
    Verlauf::Schreiber::setzeGemeldet(false);
    Tipps::vergiss();
    User::setzeFehlerGemeldet(false);
}

TestOrdner::~TestOrdner()
{
    Meldung::vergiss();
    Benutzerordner::setzeZurueck();
}

QString TestOrdner::datei(const QString& name) const { return m_ordner.filePath(name); }

void TestOrdner::schreibe(const QString& name, const QByteArray& bytes) const
{
    QFile f(datei(name));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray TestOrdner::lies(const QString& name) const
{
    QFile f(datei(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool TestOrdner::gibt(const QString& name) const { return QFile::exists(datei(name)); }

void TestOrdner::schreibeAlleThemen(int fragen) const
{
    for (int i = 1; i <= 11; ++i)
        schreibe(QStringLiteral("QXV.%1").arg(i), Themendatei::mitFragen(QStringLiteral("Thema %1").arg(i), fragen));
}

QByteArray Themendatei::kopf(const QString& titel, int anzahl, const QString& zweiter)
{
    return '"' + Windows1252::kodiere(titel) + "\",\"" + Windows1252::kodiere(zweiter) + "\"," +
           QByteArray::number(anzahl) + "\r\n";
}

QByteArray Themendatei::frage(const QString& frage, const QStringList& antworten, int loesung)
{
    QByteArray zeile = '"' + Windows1252::kodiere(frage) + '"';
    for (const QString& a : antworten)
        zeile += ",\"" + Windows1252::kodiere(a) + '"';
    return zeile + ',' + QByteArray::number(loesung) + "\r\n";
}

QByteArray Themendatei::mitFragen(const QString& titel, int n)
{
    QByteArray bytes = kopf(titel, n);
    for (int i = 1; i <= n; ++i) {
        QStringList antworten;
        for (int k = 1; k <= 4; ++k)
            antworten << QStringLiteral("Antwort %1.%2").arg(i).arg(k);
        bytes += frage(QStringLiteral("Frage %1").arg(i), antworten, (i - 1) % 4 + 1);
    }
    return bytes;
}

QByteArray userDatei(const QList<int>& noten, const QByteArray& kopf1, const QByteArray& kopf2)
{
    QByteArray bytes = '"' + kopf1 + "\",\"" + kopf2 + "\"\r\n";
    for (int note : noten)
        bytes += QByteArray::number(note) + "\r\n";
    return bytes;
}
