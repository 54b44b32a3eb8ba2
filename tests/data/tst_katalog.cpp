#include "Katalog.h"
#include "TestOrdner.h"

#include <QTest>

namespace {

const QStringList kAntworten{"A1", "A2", "A3", "A4"};

} // namespace

class tst_Katalog : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_ordner = std::make_unique<TestOrdner>();
        katalog().bildeDateiPfad();
    }
    void cleanup() { m_ordner.reset(); }

    void dateiPfadImProgrammordner()
    {
        QVERIFY(katalog().DateiPfad.endsWith(QDir::toNativeSeparators("/QXV.")));
        QCOMPARE(katalog().Dateiname(11), QDir::toNativeSeparators(m_ordner->pfad() + "/QXV.11"));
    }

    void anzahlDerFragen_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("anzahl");

        QTest::newRow("header only") << Themendatei::kopf("Nur Kopf", 0) << 0;
        QTest::newRow("exactly 30") << Themendatei::mitFragen("T", 30) << 30;
        QTest::newRow("31 give 30") << Themendatei::mitFragen("T", 31) << 30;
        QByteArray zwoelf = Themendatei::mitFragen("T", 12);
        zwoelf.replace(",12\r\n", ",25\r\n");
        QTest::newRow("header count is not trusted") << zwoelf << 12;
        QTest::newRow("last record without line end") << Themendatei::mitFragen("T", 3).chopped(2) << 3;
        QTest::newRow("blank lines after the last record") << Themendatei::mitFragen("T", 3) + "\r\n\r\n  \r\n" << 3;
        QTest::newRow("record cut short is dropped") << Themendatei::mitFragen("T", 3) + "\"Frage\",\"a\",\"b\"" << 3;
        QTest::newRow("header cut short") << QByteArray("\"Titel\",\"zwei") << 0;
        QTest::newRow("empty file") << QByteArray() << 0;
    }
    void anzahlDerFragen()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, anzahl);
        m_ordner->schreibe("QXV.5", bytes);
        QCOMPARE(katalog().LadeThema(5), Katalog::Ladeergebnis::Geladen);
        QCOMPARE(int(katalog().AnzahlFragen), anzahl);
        QCOMPARE(int(katalog().ThemaNr), 5);
        if (anzahl > 0) {
            QCOMPARE(katalog().Frage(anzahl), QStringLiteral("Frage %1").arg(anzahl));
            QCOMPARE(katalog().Antwort(anzahl, 4), QStringLiteral("Antwort %1.4").arg(anzahl));
        }
    }

    void titelUndFelder()
    {
        m_ordner->schreibe("QXV.1", Themendatei::kopf("Seenot *ruf* ##x") +
                                        Themendatei::frage("Was ist *MAYDAY*?##", {"a*b*", "x##y", "a###b", "####"}, 3));
        katalog().LadeThema(1);
        QCOMPARE(katalog().Thema, QString("Seenot *ruf* ##x"));
        QCOMPARE(katalog().Frage(1), QString("Was ist \"MAYDAY\"?##"));
        QCOMPARE(katalog().Antwort(1, 1), QString("a\"b\""));
        QCOMPARE(katalog().Antwort(1, 2), QString("x\r\ny"));
        QCOMPARE(katalog().Antwort(1, 3), QString("a\r\n#b"));
        QCOMPARE(katalog().Antwort(1, 4), QString("\r\n\r\n"));
        QCOMPARE(katalog().Loesung(1), qint16(3));
    }

    void kommasUndZeilen()
    {
        m_ordner->schreibe("QXV.2", "\"T\",\"x\",2\r\n"
                                    "\"F1\",\"a, b\",c, d,\"e\",2\r\n"
                                    "\"F2\"\r\n\"a\",\"b\"\r\n\"c\"\r\n\"d\",4\r\n");
        katalog().LadeThema(2);
        QCOMPARE(int(katalog().AnzahlFragen), 2);
        QCOMPARE(katalog().Antwort(1, 1), QString("a, b"));
        QCOMPARE(katalog().Antwort(1, 2), QString("c"));
        QCOMPARE(katalog().Antwort(1, 3), QString("d"));
        QCOMPARE(katalog().Antwort(1, 4), QString("e"));
        QCOMPARE(katalog().Loesung(1), qint16(2));
        QCOMPARE(katalog().Antwort(2, 4), QString("d"));
        QCOMPARE(katalog().Loesung(2), qint16(4));

        // Two records on one line read the same as one a line.
        QByteArray eineZeile = Themendatei::mitFragen("T", 2);
        const QByteArray mehrzeilig = eineZeile;
        eineZeile.replace(",1\r\n\"Frage 2", ",1,\"Frage 2");
        m_ordner->schreibe("QXV.3", eineZeile);
        katalog().LadeThema(3);
        QCOMPARE(katalog().Frage(2), QString("Frage 2"));
        QCOMPARE(katalog().Loesung(2), qint16(2));
    }

    void loesungWieGelesen()
    {
        m_ordner->schreibe("QXV.4", Themendatei::kopf("T") + Themendatei::frage("F", kAntworten, 7) +
                                        "\"G\",\"a\",\"b\",\"c\",\"d\",zwei\r\n");
        katalog().LadeThema(4);
        QCOMPARE(katalog().Loesung(1), qint16(7));
        QCOMPARE(katalog().Loesung(2), qint16(0));
        // Numbers outside the arrays read as nothing.
        QCOMPARE(katalog().Antwort(1, 7), QString());
        QCOMPARE(katalog().Antwort(1, 0), QString());
        QCOMPARE(katalog().Frage(31), QString());
        QCOMPARE(katalog().Loesung(-1), qint16(0));
    }

    void nummerAusserhalbAendertNichts()
    {
        m_ordner->schreibe("QXV.6", Themendatei::mitFragen("Sechs", 4));
        katalog().LadeThema(6);
        for (qint16 nr : {qint16(0), qint16(12), qint16(-1)}) {
            QCOMPARE(katalog().LadeThema(nr), Katalog::Ladeergebnis::NummerUngueltig);
            QCOMPARE(int(katalog().ThemaNr), 6);
            QCOMPARE(katalog().Thema, QString("Sechs"));
            QCOMPARE(int(katalog().AnzahlFragen), 4);
        }
        // A missing file changes nothing either.
        QCOMPARE(katalog().LadeThema(7), Katalog::Ladeergebnis::DateiNichtLesbar);
        QCOMPARE(int(katalog().ThemaNr), 6);
        QCOMPARE(int(katalog().AnzahlFragen), 4);
    }

    void aeltereFragenBleibenStehen()
    {
        m_ordner->schreibe("QXV.1", Themendatei::mitFragen("Zwanzig", 20));
        QByteArray zehn = Themendatei::kopf("Zehn");
        for (int i = 1; i <= 10; ++i)
            zehn += Themendatei::frage(QStringLiteral("Neu %1").arg(i), kAntworten, 1);
        m_ordner->schreibe("QXV.2", zehn);
        katalog().LadeThema(1);
        katalog().LadeThema(2);
        QCOMPARE(int(katalog().AnzahlFragen), 10);
        QCOMPARE(katalog().Frage(10), QString("Neu 10"));
        QCOMPARE(katalog().Frage(11), QString("Frage 11"));
        QCOMPARE(katalog().Frage(20), QString("Frage 20"));
    }

    void dateiliste()
    {
        m_ordner->schreibeAlleThemen(1);
        m_ordner->schreibe("QXV.3", Themendatei::kopf("<b>Funk</b>, *Titel*"));
        QFile::remove(m_ordner->datei("QXV.4"));
        m_ordner->schreibe("QXV.5", QByteArray());
        m_ordner->schreibe("QXV.6", "\r\n \r\n");
        katalog().LadeDateiListe();
        QCOMPARE(katalog().DateiListe(1), QString("Thema 1"));
        QCOMPARE(katalog().DateiListe(3), QString("<b>Funk</b>, *Titel*"));
        QCOMPARE(katalog().DateiListe(11), QString("Thema 11"));
        QCOMPARE(katalog().Zustand(1), Katalog::Dateizustand::Gelesen);
        QCOMPARE(katalog().Zustand(4), Katalog::Dateizustand::Fehlt);
        QCOMPARE(katalog().Zustand(5), Katalog::Dateizustand::Leer);
        // A blank first line is an empty title, not an empty file.
        QCOMPARE(katalog().Zustand(6), Katalog::Dateizustand::Gelesen);
        QCOMPARE(katalog().DateiListe(6), QString());
    }

private:
    std::unique_ptr<TestOrdner> m_ordner;
};

QTEST_GUILESS_MAIN(tst_Katalog)
#include "tst_katalog.moc"
