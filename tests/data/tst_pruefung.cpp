#include "Pruefung.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>

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
        QTest::addColumn<Zahlen>("gleichauf");
        QTest::addColumn<int>("offen");
        // 24 * g / 277: the remainders 142 (29) and 94 (27) are the largest.
        QTest::newRow("uneven") << Zahlen{26, 24, 24, 25, 24, 25, 24, 25, 24, 29, 27} << 24
                                << Zahlen{2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3} << Zahlen{} << 0;
        // The shipped catalogue: topic 3 (27) has the largest remainder, the ten others tie for two places.
        QTest::newRow("shipped") << Zahlen{30, 30, 27, 30, 30, 30, 30, 30, 30, 30, 30} << 24
                                 << Zahlen{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2} << Zahlen{0, 1, 3, 4, 5, 6, 7, 8, 9, 10}
                                 << 2;
        QTest::newRow("tie of sizes") << Zahlen{2, 6, 4} << 3 << Zahlen{0, 1, 1} << Zahlen{0, 1} << 1;
        QTest::newRow("tie of equals") << Zahlen{0, 10, 10} << 3 << Zahlen{0, 1, 1} << Zahlen{1, 2} << 1;
        QTest::newRow("too few: all") << Zahlen{0, 5, 3} << 24 << Zahlen{0, 5, 3} << Zahlen{} << 0;
    }
    void verteile()
    {
        QFETCH(Zahlen, groessen);
        QFETCH(int, bogen);
        const Pruefung::Verteilung v = Pruefung::verteile(groessen, bogen);
        QTEST(v.anzahl, "erwartet");
        QTEST(v.gleichauf, "gleichauf");
        QTEST(v.offen, "offen");
        QCOMPARE(v.fragen(), std::min(bogen, int(std::accumulate(groessen.begin(), groessen.end(), 0))));
    }

    // Tied topics take the extra questions at random: over many sheets of the shipped catalogue each of
    // the ten tied topics gives three questions to about a fifth of them; topic 3 always gives two.
    void zieheGleichauf()
    {
        const Zahlen groessen{30, 30, 27, 30, 30, 30, 30, 30, 30, 30, 30};
        QRandomGenerator zufall(7);
        Zahlen drei(11, 0);
        const int boegen = 5000;
        for (int i = 0; i < boegen; ++i) {
            Zahlen anzahl(11, 0);
            for (const Bogenfrage& f : Pruefung::ziehe(groessen, 24, zufall))
                ++anzahl[f.thema - 1];
            QCOMPARE(std::accumulate(anzahl.begin(), anzahl.end(), 0), 24);
            QCOMPARE(anzahl[2], 2);
            for (int t = 0; t < 11; ++t)
                drei[t] += anzahl[t] == 3;
        }
        for (int t : {0, 1, 3, 10})
            QVERIFY2(std::abs(drei[t] - boegen / 5) < 4 * std::sqrt(boegen * 0.2 * 0.8), qPrintable(QString::number(drei[t])));
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

    // A sheet cut short by a small catalogue allows fewer wrong answers, never all of them.
    void regelFuerKleinenBogen_data()
    {
        QTest::addColumn<int>("gezogen");
        QTest::addColumn<Zahlen>("erwartet");
        QTest::newRow("full") << 24 << kVorgabe;
        QTest::newRow("half") << 12 << Zahlen{12, 30, 2, 20};
        QTest::newRow("four") << 4 << Zahlen{4, 30, 0, 20};
        QTest::newRow("one") << 1 << Zahlen{1, 30, 0, 20};
    }
    void regelFuerKleinenBogen()
    {
        QFETCH(int, gezogen);
        QTEST(werte(Pruefungsregel().fuerBogen(gezogen)), "erwartet");
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
        // Four questions in all, every one answered wrong: the sheet of four allows none wrong.
        QTest::newRow("four, all wrong") << Chancen{{0, 0}, {0, 0}} << Zahlen{24, 5} << 0.0;
        QTest::newRow("four, all right") << Chancen{{1, 1}, {1, 1}} << Zahlen{24, 5} << 1.0;
    }
    void bestehenschance()
    {
        QFETCH(Chancen, treffer);
        QFETCH(Zahlen, regel);
        QTEST(Pruefung::bestehenschance(treffer, {regel[0], 30, regel[1]}), "erwartet");
    }

    // Tied topics: the exact figure is the average over every equally likely settling of the tie,
    // checked against a count over every sheet: topics {a, b}, {c, d}, {e, f} tie for two places of a
    // sheet of two, so a sheet is two of the three topics and one question of each.
    void bestehenschanceGleichauf()
    {
        const Chancen treffer{{1.0, 0.5}, {0.2, 0.9}, {0.0, 0.6}};
        double summe = 0;
        int boegen = 0;
        for (int ohne = 0; ohne < 3; ++ohne) {
            const QList<int> themen = ohne == 0 ? QList<int>{1, 2} : ohne == 1 ? QList<int>{0, 2} : QList<int>{0, 1};
            for (int a = 0; a < 2; ++a) {
                for (int b = 0; b < 2; ++b) {
                    const double p = treffer[themen[0]][a], q = treffer[themen[1]][b];
                    summe += p * q + p * (1 - q) + (1 - p) * q; // at most one wrong
                    ++boegen;
                }
            }
        }
        QCOMPARE(Pruefung::bestehenschance(treffer, {2, 30, 1}), summe / boegen);
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
