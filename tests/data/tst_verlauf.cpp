#include "Benutzerordner.h"
#include "Katalog.h"
#include "TestOrdner.h"
#include "Verlauf.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

Verlauf::Eintrag eintrag(int thema, const QByteArray& frage, bool richtig, const QString& lauf = "2026-12-07T10:00:00.000Z",
                         Verlauf::Modus modus = Verlauf::Modus::Abfrage)
{
    return {"2026-12-07T10:00:05Z", lauf, modus, thema, frage, richtig ? 1 : 2, richtig};
}

QList<Verlauf::Eintrag> alle(const QByteArray& bytes)
{
    QBuffer puffer;
    puffer.setData(bytes);
    puffer.open(QIODevice::ReadOnly);
    QList<Verlauf::Eintrag> liste;
    Verlauf::lese(puffer, [&](const Verlauf::Eintrag& e) { liste << e; });
    return liste;
}

const QByteArray kA = "00000000000000aa";
const QByteArray kB = "00000000000000bb";
const QByteArray kC = "00000000000000cc";

} // namespace

class tst_Verlauf : public QObject {
    Q_OBJECT
private slots:
    void init() { m_ordner = std::make_unique<TestOrdner>(); }
    void cleanup() { m_ordner.reset(); }

    // Whatever else stands in the file, every whole line is read and nothing else.
    void beschaedigteZeilen_data()
    {
        QTest::addColumn<QByteArray>("dazwischen");
        QTest::addColumn<QByteArray>("amEnde");
        const QByteArray ganz = Verlauf::alsZeile(eintrag(3, kC, true));
        QTest::newRow("nothing else") << QByteArray() << QByteArray();
        QTest::newRow("a last line cut short") << QByteArray() << ganz.left(40);
        QTest::newRow("cut inside the last field") << QByteArray() << ganz.chopped(3);
        QTest::newRow("blank lines") << QByteArray("\r\n  \r\n\n") << QByteArray("\r\n");
        QTest::newRow("garbage") << QByteArray("Kaffee,Tee\r\n\"x\",\"y\",\"Abfrage\",3,\"zz\",1,1\r\n") +
                                        QByteArray("\xff\x00\x01\r\n", 5)
                                 << QByteArray("garbage without a line end");
        QTest::newRow("values out of range")
            << QByteArray("\"2026-12-07T10:00:05Z\",\"2026-12-07T10:00:00.000Z\",\"Abfrage\",12,\"00000000000000aa\",1,1\r\n"
                          "\"2026-12-07T10:00:05Z\",\"2026-12-07T10:00:00.000Z\",\"Abfrage\",3,\"00000000000000aa\",5,1\r\n"
                          "\"2026-12-07T10:00:05Z\",\"2026-12-07T10:00:00.000Z\",\"Quiz\",3,\"00000000000000aa\",1,1\r\n")
            << QByteArray();
        QTest::newRow("a line far too long") << QByteArray(100000, 'x') + "\r\n" << QByteArray(5000, ',');
        QTest::newRow("lone line feeds") << QByteArray() << QByteArray();
        QTest::newRow("lone carriage returns") << QByteArray() << QByteArray();
        QTest::newRow("a byte-order mark") << QByteArray() << QByteArray();
        QTest::newRow("a byte-order mark and lone carriage returns") << QByteArray() << QByteArray();
    }
    void beschaedigteZeilen()
    {
        QFETCH(QByteArray, dazwischen);
        QFETCH(QByteArray, amEnde);
        const QList<Verlauf::Eintrag> eintraege{eintrag(1, kA, false), eintrag(11, kB, true, "2026-12-07T11:00:00.000Z",
                                                                                Verlauf::Modus::Pruefung)};
        QByteArray bytes = Verlauf::alsZeile(eintraege[0]) + dazwischen + Verlauf::alsZeile(eintraege[1]) + amEnde;
        const QByteArray fall = QTest::currentDataTag();
        if (fall == "lone line feeds")
            bytes.replace("\r\n", "\n");
        if (fall.endsWith("lone carriage returns"))
            bytes.replace("\r\n", "\r");
        if (fall.startsWith("a byte-order mark"))
            bytes.prepend("\xEF\xBB\xBF");
        QCOMPARE(alle(bytes), eintraege);
    }

    // Lines are appended, each whole: after a line that a crash cut short the next one starts on
    // a line of its own, and the history lives beside USER.QXV.
    void anhaengen()
    {
        m_ordner->schreibe("VERLAUF.QXV", Verlauf::alsZeile(eintrag(1, kA, true)) + "\"2026-12-07T10:0");
        Verlauf::Schreiber schreiber(Verlauf::Modus::Fehler);
        QVERIFY(schreiber.schreibe(2, kB, 3, false));
        QVERIFY(schreiber.schreibe(2, kC, 4, true));
        QList<Verlauf::Eintrag> gelesen;
        QVERIFY(Verlauf::lese([&](const Verlauf::Eintrag& e) { gelesen << e; }));
        QCOMPARE(gelesen.size(), 3);
        QCOMPARE(gelesen[1].modus, Verlauf::Modus::Fehler);
        QCOMPARE(gelesen[1].antwort, 3);
        QCOMPARE(gelesen[1].lauf, gelesen[2].lauf);
        QCOMPARE(gelesen[1].lauf, schreiber.lauf());
        QVERIFY(m_ordner->lies("VERLAUF.QXV").endsWith("\r\n"));

        // In the learner's data folder when the program folder is write-protected.
        Benutzerordner::setzePruefer([](const QString&, bool) { return false; });
        Benutzerordner::bestimme();
        Verlauf::Schreiber daten(Verlauf::Modus::Abfrage);
        QVERIFY(daten.schreibe(1, kA, 1, true));
        QCOMPARE(alle(m_ordner->lies("Daten/VERLAUF.QXV")).size(), 1);
    }

    // Every mode is written under its name and read back as itself.
    void modi_data()
    {
        QTest::addColumn<Verlauf::Modus>("modus");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("quiz") << Verlauf::Modus::Abfrage << QByteArray("Abfrage");
        QTest::newRow("drill") << Verlauf::Modus::Fehler << QByteArray("Fehler");
        QTest::newRow("exam sheet") << Verlauf::Modus::Pruefung << QByteArray("Pruefung");
        QTest::newRow("due today") << Verlauf::Modus::Heute << QByteArray("Heute");
    }
    void modi()
    {
        QFETCH(Verlauf::Modus, modus);
        QFETCH(QByteArray, name);
        Verlauf::Schreiber schreiber(modus);
        QVERIFY(schreiber.schreibe(7, kA, 2, true));
        QVERIFY(m_ordner->lies("VERLAUF.QXV").contains(",\"" + name + "\",7,"));
        const QList<Verlauf::Eintrag> gelesen = alle(m_ordner->lies("VERLAUF.QXV"));
        QCOMPARE(gelesen.size(), 1);
        QCOMPARE(gelesen[0].modus, modus);
    }

    // A history that cannot be written fails the line, and touches nothing else.
    void nichtSchreibbar()
    {
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 3)));
        QVERIFY(QDir(m_ordner->pfad()).mkdir("VERLAUF.QXV"));
        Verlauf::Schreiber schreiber(Verlauf::Modus::Abfrage);
        QVERIFY(!schreiber.schreibe(1, kA, 1, true));
        QVERIFY(!Verlauf::lese([](const Verlauf::Eintrag&) {}));
        QCOMPARE(m_ordner->lies("USER.QXV"), userDatei(QList<int>(11, 3)));
    }

    // Which questions a drill asks: those whose latest answer in this topic was wrong.
    void fehlerfragen_data()
    {
        QTest::addColumn<QList<Verlauf::Eintrag>>("verlauf");
        QTest::addColumn<QList<int>>("fragen");
        QTest::newRow("never answered") << QList<Verlauf::Eintrag>{} << QList<int>{};
        QTest::newRow("wrong, then right") << QList<Verlauf::Eintrag>{eintrag(4, kB, false), eintrag(4, kB, true)}
                                           << QList<int>{};
        QTest::newRow("right, then wrong") << QList<Verlauf::Eintrag>{eintrag(4, kB, true), eintrag(4, kB, false)}
                                           << QList<int>{2};
        QTest::newRow("in file order") << QList<Verlauf::Eintrag>{eintrag(4, kC, false), eintrag(4, kA, false)}
                                       << QList<int>{1, 3};
        QTest::newRow("another topic does not count")
            << QList<Verlauf::Eintrag>{eintrag(4, kA, false), eintrag(5, kA, true), eintrag(5, kB, false)}
            << QList<int>{1};
        QTest::newRow("an exam sheet counts") << QList<Verlauf::Eintrag>{
            eintrag(4, kA, false), eintrag(4, kA, true, "2026-12-08T10:00:00.000Z", Verlauf::Modus::Pruefung)}
                                              << QList<int>{};
        QTest::newRow("a question since edited") << QList<Verlauf::Eintrag>{eintrag(4, "00000000000000dd", false)}
                                                 << QList<int>{};
    }
    void fehlerfragen()
    {
        QFETCH(QList<Verlauf::Eintrag>, verlauf);
        QFETCH(QList<int>, fragen);
        QByteArray bytes;
        for (const auto& e : verlauf)
            bytes += Verlauf::alsZeile(e);
        m_ordner->schreibe("VERLAUF.QXV", bytes);
        QCOMPARE(Verlauf::fehlerfragen(4, {kA, kB, kC}), fragen);
    }

    void letzterLauf()
    {
        const QString eins = "2026-12-07T10:00:00.000Z", zwei = "2026-12-07T11:00:00.000Z";
        const QList<Verlauf::Eintrag> verlauf{eintrag(4, kA, false, eins), eintrag(4, kB, true, zwei),
                                              eintrag(5, kA, true, "2026-12-07T11:30:00.000Z"),
                                              eintrag(4, kC, false, zwei),
                                              eintrag(4, kA, true, "2026-12-07T12:00:00.000Z", Verlauf::Modus::Pruefung)};
        QByteArray bytes;
        for (const auto& e : verlauf)
            bytes += Verlauf::alsZeile(e);
        m_ordner->schreibe("VERLAUF.QXV", bytes);
        QCOMPARE(Verlauf::letzterLauf(4, {kA, kB, kC}), (QList<Verlauf::Eintrag>{verlauf[1], verlauf[3]}));
        QVERIFY(Verlauf::letzterLauf(6, {kA, kB, kC}).isEmpty());
    }

    // Whatever a crafted history holds, the latest run keeps one answer a question of the topic,
    // its latest, and at most 30 answers to questions no longer in the topic file.
    void letzterLaufBleibtKlein()
    {
        const QString lauf = "2026-12-07T10:00:00.000Z";
        QByteArray bytes;
        for (int i = 0; i < 5000; ++i) {
            bytes += Verlauf::alsZeile(eintrag(4, 'f' + QByteArray::number(i, 16).rightJustified(15, '0'), false, lauf));
            bytes += Verlauf::alsZeile(eintrag(4, kA, i % 2 == 0, lauf));
        }
        bytes += Verlauf::alsZeile(eintrag(4, kB, true, lauf));
        m_ordner->schreibe("VERLAUF.QXV", bytes);
        const QList<Verlauf::Eintrag> gelesen = Verlauf::letzterLauf(4, {kA, kB, kC});
        QCOMPARE(gelesen.size(), 32);
        QCOMPARE(gelesen[0].frage, QByteArray("f000000000000000"));
        QCOMPARE(gelesen[1].frage, kA);
        QCOMPARE(gelesen[1].richtig, false);
        QCOMPARE(gelesen.last().frage, kB);
    }

    // The file is opened for each line: deleted meanwhile, the history starts afresh with the
    // next answer instead of losing it.
    void geloeschterVerlaufBeginntNeu()
    {
        Verlauf::Schreiber schreiber(Verlauf::Modus::Abfrage);
        QVERIFY(schreiber.schreibe(1, kA, 1, true));
        QVERIFY(QFile::remove(m_ordner->datei("VERLAUF.QXV")));
        QVERIFY(schreiber.schreibe(1, kB, 2, false));
        const QList<Verlauf::Eintrag> gelesen = alle(m_ordner->lies("VERLAUF.QXV"));
        QCOMPARE(gelesen.size(), 1);
        QCOMPARE(gelesen[0].frage, kB);
    }

#ifdef Q_OS_UNIX
    // A pipe in the place of VERLAUF.QXV is never opened, let alone written. (Links and files of
    // others in a shared folder: tst_user's geteilterOrdner.)
    void keinRohr()
    {
        QCOMPARE(::mkfifo(QFile::encodeName(m_ordner->datei("VERLAUF.QXV")).constData(), 0600), 0);
        Verlauf::Schreiber schreiber(Verlauf::Modus::Abfrage);
        QVERIFY(!schreiber.schreibe(1, kA, 1, true));
        QVERIFY(schreiber.grund().isEmpty());
    }
#endif

    // An edited question starts a history of its own; one that moved keeps its history.
    void kennung()
    {
        const QByteArray zwei = Themendatei::frage("Q1", {"a", "b", "c", "d"}, 1) +
                                Themendatei::frage("Q2", {"e", "f", "g", "h"}, 2);
        m_ordner->schreibe("QXV.1", Themendatei::kopf("T") + zwei);
        m_ordner->schreibe("QXV.2", Themendatei::kopf("T") + Themendatei::frage("Q2", {"e", "f", "g", "h"}, 2) +
                                        Themendatei::frage("Q1", {"a", "b", "c", "d"}, 1) +
                                        Themendatei::frage("Q1", {"a", "b", "c", "d"}, 2) +
                                        Themendatei::frage("Q1", {"a", "b", "c", "D"}, 1));
        katalog().bildeDateiPfad();
        katalog().LadeThema(1);
        const QByteArray q1 = Verlauf::kennung(katalog(), 1), q2 = Verlauf::kennung(katalog(), 2);
        katalog().LadeThema(2);
        QCOMPARE(Verlauf::kennung(katalog(), 1), q2);
        QCOMPARE(Verlauf::kennung(katalog(), 2), q1);
        QVERIFY(Verlauf::kennung(katalog(), 3) != q1);
        QVERIFY(Verlauf::kennung(katalog(), 4) != q1);
    }

private:
    std::unique_ptr<TestOrdner> m_ordner;
};

QTEST_GUILESS_MAIN(tst_Verlauf)
#include "tst_verlauf.moc"
