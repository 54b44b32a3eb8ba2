#include "Pruefung.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using Zahlen = QList<int>;
using Chancen = QList<QList<double>>;

static Zahlen werte(const Pruefungsregel& r)
{
    return {r.fragen, r.minuten, r.maxFalsch, r.heute};
}
static const Zahlen kVorgabe{24, 30, 5, 20};

class tst_Pruefung : public QObject {
    Q_OBJECT
private slots:
    void verteile_data()
    {
        QTest::addColumn<Zahlen>("groessen");
        QTest::addColumn<int>("bogen");
        QTest::addColumn<Zahlen>("erwartet");
        // 24 * g / 277: the remainders 142 (29) and 94 (27) are the largest.
        QTest::newRow("uneven") << Zahlen{26, 24, 24, 25, 24, 25, 24, 25, 24, 29, 27} << 24
                                << Zahlen{2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3};
        QTest::newRow("tie: lower number") << Zahlen{10, 10, 10} << 4 << Zahlen{2, 1, 1};
        QTest::newRow("tie: larger topic") << Zahlen{2, 6, 4} << 3 << Zahlen{0, 2, 1};
        QTest::newRow("empty topic") << Zahlen{0, 10, 10} << 3 << Zahlen{0, 2, 1};
        QTest::newRow("too few: all") << Zahlen{0, 5, 3} << 24 << Zahlen{0, 5, 3};
    }
    void verteile()
    {
        QFETCH(Zahlen, groessen);
        QFETCH(int, bogen);
        QTEST(Pruefung::verteile(groessen, bogen), "erwartet");
    }

    void ziehe()
    {
        const Zahlen groessen{26, 24, 24, 25, 24, 25, 0, 25, 24, 29, 27};
        QSet<Zahlen> reihenfolgen;
        for (quint32 saat = 1; saat <= 40; ++saat) {
            QRandomGenerator zufall(saat);
            Zahlen anzahl(11, 0), reihe;
            QSet<int> fragen;
            for (const Bogenfrage& f : Pruefung::ziehe(groessen, 24, zufall)) {
                fragen.insert(f.thema * 100 + f.frage);
                ++anzahl[f.thema - 1];
            }
            QCOMPARE(fragen.size(), 24);
            QCOMPARE(anzahl, Pruefung::verteile(groessen, 24));
            // Too few questions: all of them, and over the seeds in every order.
            for (const Bogenfrage& f : Pruefung::ziehe({2, 0, 1}, 24, zufall))
                reihe << f.thema * 100 + f.frage;
            reihenfolgen.insert(reihe);
            QCOMPARE(QSet<int>(reihe.begin(), reihe.end()), (QSet<int>{101, 102, 301}));
        }
        QCOMPARE(reihenfolgen.size(), 6);
    }

    void regelLesen_data()
    {
        static const char muell[] =
            "\r\nFragen\r\n,,,\r\n\"Punkte\",3\r\n\x81\0\",12\r\n\"Fra\r\ngen\",12\r\n\"Minuten\",40,\"Fehler\",1";
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Zahlen>("erwartet");
        QTest::newRow("any case, LF, quoted")
            << QByteArray("\"fragen\",30\n\"MINUTEN\", 45\n\"Fehler\",\"0\"\n\"HEUTE\",1") << Zahlen{30, 45, 0, 1};
        QTest::newRow("bounds, CR") << QByteArray("\"Fehler\",329\r\"Fragen\",330\r\"Minuten\",600\r\"Heute\",100")
                                    << Zahlen{330, 600, 329, 100};
        QTest::newRow("text, negative") << QByteArray("\"Fragen\",viele\r\n\"Minuten\",-1\r\n\"Fehler\",-1\r\n")
                                        << kVorgabe;
        QTest::newRow("zero, huge")
            << QByteArray("\"Fragen\",0\r\n\"Fragen\",331\r\n\"Minuten\",0\r\n\"Minuten\",601\r\n\"Fehler\",24\r\n"
                          "\"Heute\",0\r\n\"Heute\",101\r\n")
            << kVorgabe;
        QTest::newRow("all wrong passes") << QByteArray("\"Fragen\",3\r\n\"Fehler\",3\r\n") << Zahlen{3, 30, 2, 20};
        QTest::newRow("garbage") << QByteArray(muell, sizeof muell - 1) << Zahlen{24, 40, 5, 20};
        QTest::newRow("huge") << "\"Fragen\",12\r\n" + QByteArray(1 << 20, '\n') + "\"Fehler\",1\r\n"
                              << Zahlen{12, 30, 5, 20};
        // The first 4 KiB end inside this line: "Fehler",1 must not be taken for 12.
        QTest::newRow("cut at 4 KiB") << QByteArray(4086, '\n') + "\"Fehler\",12\r\n" << kVorgabe;
    }
    void regelLesen()
    {
        QFETCH(QByteArray, bytes);
        QBuffer puffer(&bytes);
        QVERIFY(puffer.open(QIODevice::ReadOnly));
        QTEST(werte(Pruefungsregel::lese(puffer)), "erwartet");
    }

    void regelDatei()
    {
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath("PRUEFUNG.QXV");
        QCOMPARE(werte(Pruefungsregel::ausDatei(pfad)), kVorgabe);
        QCOMPARE(werte(Pruefungsregel::ausDatei(ordner.path())), kVorgabe);
        QFile datei(pfad);
        QVERIFY(datei.open(QIODevice::WriteOnly) && datei.write("\"Fehler\",3\r\n") == 12);
        datei.close();
        QCOMPARE(werte(Pruefungsregel::ausDatei(pfad)), (Zahlen{24, 30, 3, 20}));
#ifdef Q_OS_UNIX
        QCOMPARE(mkfifo(qPrintable(ordner.filePath("FIFO")), 0600), 0);
        QCOMPARE(werte(Pruefungsregel::ausDatei(ordner.filePath("FIFO"))), kVorgabe);
#endif
        QVERIFY(Pruefungsregel().bestanden(5) && !Pruefungsregel().bestanden(6));
    }

    void trefferchance()
    {
        QCOMPARE(Pruefung::trefferchance({}), 0.25);
        QCOMPARE(Pruefung::trefferchance({false, true, true, true}), 0.8125);
        // Every history of up to eight answers: a right answer never lowers, a wrong one never raises.
        for (int bits = 1; bits < 1 << 9; ++bits) {
            QList<bool> a;
            for (int i = 0; bits >> (i + 1); ++i)
                a << bool(bits >> i & 1);
            QVERIFY(Pruefung::trefferchance(a + QList<bool>{true}) >= Pruefung::trefferchance(a));
            QVERIFY(Pruefung::trefferchance(a + QList<bool>{false}) <= Pruefung::trefferchance(a));
        }
    }

    void bestehenschance_data()
    {
        QTest::addColumn<Chancen>("treffer");
        QTest::addColumn<Zahlen>("regel"); // questions, wrong answers
        QTest::addColumn<double>("erwartet");
        QTest::newRow("two sure, one guess") << Chancen{{1, 1, 0.25}} << Zahlen{3, 0} << 0.25;
        QTest::newRow("one of a sure and a lost") << Chancen{{1, 0}} << Zahlen{1, 0} << 0.5;
        // Sheets {1,2}, {1,3}, {2,3}: none wrong in 0, 1/2, 0 of them; at most one in 1, 1, 1/2.
        QTest::newRow("two of three, none wrong") << Chancen{{1, 0, 0.5}} << Zahlen{2, 0} << 1.0 / 6;
        QTest::newRow("two of three, one wrong") << Chancen{{1, 0, 0.5}} << Zahlen{2, 1} << 5.0 / 6;
        // One question from each topic, each wrong with 1/2: at most one of three wrong.
        QTest::newRow("three topics") << Chancen{{1, 0}, {0.5}, {0.5, 0.5}} << Zahlen{3, 1} << 0.5;
        QTest::newRow("too few questions") << Chancen{{0, 0}, {}} << Zahlen{24, 1} << 0.0;
    }
    void bestehenschance()
    {
        QFETCH(Chancen, treffer);
        QFETCH(Zahlen, regel);
        QTEST(Pruefung::bestehenschance(treffer, {regel[0], 30, regel[1]}), "erwartet");
    }

    // The whole catalogue: raising any one chance never lowers the result; and how long it takes.
    void bestehenschanceGanzerKatalog()
    {
        QRandomGenerator zufall(3);
        Chancen treffer(11, QList<double>(30));
        for (auto& thema : treffer)
            std::generate(thema.begin(), thema.end(), [&] { return zufall.generateDouble(); });
        for (int i = 0; i < 200; ++i) {
            const Pruefungsregel regel{24, 30, i % 8};
            const double vorher = Pruefung::bestehenschance(treffer, regel);
            double& p = treffer[zufall.bounded(11)][zufall.bounded(30)];
            p += (1 - p) * zufall.generateDouble();
            const double nachher = Pruefung::bestehenschance(treffer, regel);
            QVERIFY(vorher >= 0 && nachher >= vorher - 1e-12 && nachher <= 1);
        }
        QBENCHMARK
        {
            Pruefung::bestehenschance(treffer, Pruefungsregel{});
        }
    }
};

QTEST_GUILESS_MAIN(tst_Pruefung)
#include "tst_pruefung.moc"
