#include "Lernstand.h"

#include "Benutzerordner.h"
#include "TestOrdner.h"

#include <QFileInfo>
#include <QTest>

#include <cmath>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using Erinnerung::Antwort;

namespace {

// A catalogue of `groessen[t - 1]` questions per topic, each with a digest of its own.
Gesamtkatalog katalog(const QList<int>& groessen)
{
    Gesamtkatalog k;
    for (int t = 1; t <= 11; ++t) {
        k.titel[t] = QStringLiteral("Thema %1").arg(t);
        for (int f = 1; f <= groessen.value(t - 1); ++f) {
            Katalogfrage q;
            q.thema = t;
            q.nummer = f;
            q.loesung = 1;
            q.kennung = QByteArray::number(t * 100 + f, 16).rightJustified(16, '0');
            k.fragen[t] << q;
        }
    }
    return k;
}

const QList<int> k25(11, 25);
const QDateTime kJetzt(QDate(2026, 6, 10), QTime(12, 0), Qt::UTC);

Verlauf::Eintrag eintrag(const Katalogfrage& f, bool richtig, const QDateTime& zeit, const QDateTime& lauf,
                         Verlauf::Modus modus = Verlauf::Modus::Abfrage)
{
    return {zeit.toString(Qt::ISODate),
            lauf.toString(Qt::ISODateWithMs),
            modus,
            f.thema,
            f.kennung,
            richtig ? 1 : 2,
            richtig};
}

// The first `anzahl` questions of the catalogue quizzed in one run each so many hours before
// `jetzt`; answer i is right unless it falls among the `falschVonZehn` of ten.
QList<Verlauf::Eintrag> lerne(const Gesamtkatalog& k, int anzahl, const QList<int>& stunden, int falschVonZehn = 0)
{
    QList<Verlauf::Eintrag> verlauf;
    for (int vorher : stunden) {
        const QDateTime lauf = kJetzt.addSecs(-3600 * qint64(vorher));
        int i = 0;
        for (int t = 1; t <= 11 && i < anzahl; ++t)
            for (qsizetype f = 0; f < k.fragen[t].size() && i < anzahl; ++f, ++i)
                verlauf << eintrag(k.fragen[t][f], (i * 7 + vorher) % 10 >= falschVonZehn, lauf.addSecs(10 * i + 5),
                                   lauf);
    }
    return verlauf;
}

QList<int> tage(const QList<int>& tage)
{
    QList<int> stunden;
    for (int tag : tage)
        stunden << 24 * tag;
    return stunden;
}

Lernstand stand(const Gesamtkatalog& k, const QList<Verlauf::Eintrag>& v, const QDateTime& jetzt = kJetzt,
                const Pruefungsregel& regel = {})
{
    return Lernstand::berechne(k, regel, v, jetzt);
}

} // namespace

class tst_Lernstand : public QObject {
    Q_OBJECT
private slots:
    // Days end at the learner's midnight.
    void initTestCase() { qputenv("TZ", "Europe/Berlin"); }

    // What a learner notices of the chance: no ceiling short of a sure pass, and time counts.
    // A learner who got most answers wrong at first sight, a month before, learned what they know
    // here and forgets it; one who knew every answer at first sight knew it before and keeps it.
    void chance_data()
    {
        QTest::addColumn<bool>("zuerstFalsch");
        QTest::addColumn<QList<int>>("stunden");
        QTest::addColumn<int>("spaeter");
        QTest::addColumn<double>("mindestens");
        QTest::addColumn<double>("hoechstens");
        QTest::newRow("all right on three days over the last weeks") << true << tage({24, 12, 5}) << 0 << 0.95 << 1.0;
        QTest::newRow("the same a year on") << true << tage({24, 12, 5}) << 365 << 0.0 << 0.25;
        QTest::newRow("six days spaced out up to yesterday") << true << tage({90, 45, 21, 9, 4, 1}) << 0 << 0.99 << 1.0;
        QTest::newRow("three times in a row, a month on") << true << QList<int>{3, 2, 1} << 30 << 0.0 << 0.5;
        QTest::newRow("known at first sight, a year on") << false << tage({24, 12, 5}) << 365 << 0.9 << 1.0;
    }
    void chance()
    {
        QFETCH(bool, zuerstFalsch);
        QFETCH(QList<int>, stunden);
        QFETCH(int, spaeter);
        QFETCH(double, mindestens);
        QFETCH(double, hoechstens);
        const Gesamtkatalog k = katalog(k25);
        QList<Verlauf::Eintrag> v =
            zuerstFalsch ? lerne(k, 275, {stunden.first() + 24 * 30}, 7) : QList<Verlauf::Eintrag>{};
        v << lerne(k, 275, stunden);
        const Lernstand s = stand(k, v, kJetzt.addDays(spaeter));
        QVERIFY2(s.bestehenschance >= mindestens && s.bestehenschance <= hoechstens,
                 qPrintable(QString::number(s.bestehenschance)));
    }

    // A question never answered counts as the learner's own first answers went, drawn toward a
    // default while they are few.
    void vorwissen_data()
    {
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<int>("falschVonZehn");
        QTest::addColumn<double>("erwartet");
        QTest::addColumn<double>("toleranz");
        QTest::newRow("150 first answers, nine in ten right") << 150 << 1 << 0.9 << 0.05;
        QTest::newRow("150 first answers, three in ten right") << 150 << 7 << 0.3 << 0.05;
        QTest::newRow("two first answers, both right") << 2 << 0 << 0.4 << 0.15;
    }
    void vorwissen()
    {
        QFETCH(int, anzahl);
        QFETCH(int, falschVonZehn);
        QFETCH(double, erwartet);
        QFETCH(double, toleranz);
        const Gesamtkatalog k = katalog(k25);
        const Lernstand s = stand(k, lerne(k, anzahl, {10}, falschVonZehn));
        const double nie = s.treffer[11].last();
        QVERIFY2(std::abs(nie - erwartet) < toleranz, qPrintable(QString::number(nie)));
    }

    // Only the first answer of a run counts: a drill asks again right after the solution. An
    // answer in another run counts, whatever the practice.
    void ersteJeLauf()
    {
        const Gesamtkatalog k = katalog({5});
        const Katalogfrage& f = k.fragen[1][0];
        const QDateTime lauf = kJetzt.addDays(-2), spaeter = lauf.addSecs(600);
        const auto fehler = eintrag(f, false, lauf.addSecs(5), lauf, Verlauf::Modus::Fehler);
        const Lernstand allein = stand(k, {fehler});
        const Lernstand nochmal = stand(k, {fehler, eintrag(f, true, lauf.addSecs(9), lauf, Verlauf::Modus::Fehler)});
        const Lernstand anderer = stand(k, {fehler, eintrag(f, true, spaeter.addSecs(5), spaeter)});
        const Lernstand heute =
            stand(k, {fehler, eintrag(f, true, spaeter.addSecs(5), spaeter, Verlauf::Modus::Heute)});
        QCOMPARE(nochmal.treffer[1][0], allein.treffer[1][0]);
        QVERIFY(anderer.treffer[1][0] > allein.treffer[1][0] + 0.1);
        QCOMPARE(heute.treffer[1][0], anderer.treffer[1][0]);
        // The counts of the window stay as they were: the latest answer, whichever run.
        QCOMPARE(nochmal.themen[1].richtig, 1);
        QCOMPARE(allein.themen[1].falsch, 1);
    }

    // The range comes from what is still unknown of the learner: it narrows as they answer more,
    // down to what the model may be off for any learner.
    void spanne()
    {
        const Gesamtkatalog k = katalog(k25);
        double breite = 2;
        for (int anzahl : {20, 80, 275}) {
            const Lernstand s = stand(k, lerne(k, anzahl, tage({24, 12, 5}), 1));
            QVERIFY(s.chanceUnten <= s.bestehenschance && s.bestehenschance <= s.chanceOben);
            QVERIFY(s.chanceUnten >= 0 && s.chanceOben <= 1);
            QVERIFY2(s.chanceOben - s.chanceUnten < breite, qPrintable(QString::number(anzahl)));
            breite = s.chanceOben - s.chanceUnten;
            QCOMPARE(s.grob, anzahl < 275);
        }
        QVERIFY2(breite < 0.15, qPrintable(QString::number(breite)));
    }

    // Due first are the questions whose practice now raises the chance to pass the most, as
    // counted over every sheet that can be drawn and every way it can be answered.
    void faellig()
    {
        const Gesamtkatalog k = katalog({2, 6});
        const Pruefungsregel regel{4, 30, 1};
        QList<Verlauf::Eintrag> v;
        QList<QList<Antwort>> antworten(8);
        const QList<QList<bool>> muster{{false},      {true, false},       {true},  {false, false},
                                        {true, true}, {false, true, true}, {false}, {true, false, true}};
        for (int i = 0; i < 8; ++i) {
            const Katalogfrage& f = i < 2 ? k.fragen[1][i] : k.fragen[2][i - 2];
            for (int r = 0; r < muster[i].size(); ++r) {
                const QDateTime lauf = kJetzt.addDays(-30 + 9 * r - i);
                v << eintrag(f, muster[i][r], lauf.addSecs(5), lauf);
                antworten[i] << Antwort{lauf.addSecs(5).toSecsSinceEpoch(), muster[i][r]};
            }
        }
        const Lernstand s = stand(k, v, kJetzt, regel);
        QList<double> jetzt = s.treffer[1] + s.treffer[2];

        // Every sheet: one of topic 1's two questions, three of topic 2's six; at most one wrong.
        const auto bestehen = [](const QList<double>& p) {
            double summe = 0;
            int boegen = 0;
            for (int a = 0; a < 2; ++a) {
                for (int maske = 0; maske < 64; ++maske) {
                    if (__builtin_popcount(maske) != 3)
                        continue;
                    QList<double> bogen{p[a]};
                    for (int b = 0; b < 6; ++b)
                        if (maske >> b & 1)
                            bogen << p[2 + b];
                    ++boegen;
                    for (int ausgang = 0; ausgang < 16; ++ausgang) {
                        double w = 1;
                        for (int q = 0; q < 4; ++q)
                            w *= ausgang >> q & 1 ? bogen[q] : 1 - bogen[q];
                        summe += __builtin_popcount(ausgang) >= 3 ? w : 0;
                    }
                }
            }
            return summe / boegen;
        };
        QVERIFY(std::abs(bestehen(jetzt) - s.bestehenschance) < 1e-9);
        QVERIFY(s.faellig >= 4);
        QCOMPARE(s.faelligeFragen.size(), s.faellig);
        double vorher = 1;
        for (const Bogenfrage& b : s.faelligeFragen) {
            const int i = b.thema == 1 ? b.frage - 1 : 1 + b.frage;
            Erinnerung::Spur spur(s.parameter);
            for (const Antwort& a : antworten[i])
                spur.antworte(a);
            QList<double> geuebt = jetzt;
            geuebt[i] = spur.geuebt(kJetzt.toSecsSinceEpoch());
            const double gewinn = bestehen(geuebt) - bestehen(jetzt);
            QVERIFY2(gewinn <= vorher + 1e-12, qPrintable(QStringLiteral("%1.%2").arg(b.thema).arg(b.frage)));
            vorher = gewinn;
        }
        QVERIFY(!s.naechsteFaellig.isValid());

        // Practised today, nothing is due until a question fades again.
        const Lernstand morgen = stand(k, lerne(k, 8, {2, 1}), kJetzt);
        QCOMPARE(morgen.faellig, 0);
        QVERIFY(morgen.naechsteFaellig > kJetzt);
    }

    // Each of the last 60 days and each exam sheet shows the chance as it stood then: what the
    // history up to that moment alone gives. Without practice the days go down.
    void damals()
    {
        const Gesamtkatalog k = katalog(k25);
        QList<Verlauf::Eintrag> v = lerne(k, 80, tage({40, 33, 20}), 2);
        // Two sheets of 24 questions: 3 wrong passes, 8 wrong does not.
        for (int bogen = 0; bogen < 2; ++bogen) {
            const QDateTime lauf = kJetzt.addDays(bogen == 0 ? -25 : -15);
            for (int i = 0; i < 24; ++i)
                v << eintrag(k.fragen[1 + i % 11][i / 11 + 10], i >= (bogen == 0 ? 3 : 8), lauf.addSecs(1200), lauf,
                             Verlauf::Modus::Pruefung);
        }
        const Lernstand s = stand(k, v);
        QVERIFY(!s.angepasst);
        QCOMPARE(s.tage.size(), 60);
        QCOMPARE(s.tage.last().datum, kJetzt.toLocalTime().date());
        QCOMPARE(s.tage.last().chance, s.bestehenschance);
        for (int tag = 0; tag < 59; tag += 3) {
            const QDateTime ende = s.tage[tag].datum.addDays(1).startOfDay();
            QVERIFY2(std::abs(s.tage[tag].chance - stand(k, v, ende).bestehenschance) < 1e-12,
                     qPrintable(s.tage[tag].datum.toString()));
        }
        for (int tag = 46; tag < 59; ++tag)
            QVERIFY(s.tage[tag + 1].chance < s.tage[tag].chance);

        QCOMPARE(s.boegen.size(), 2);
        for (int b = 0; b < 2; ++b) {
            QCOMPARE(s.boegen[b].fragen, 24);
            QCOMPARE(s.boegen[b].falsch, b == 0 ? 3 : 8);
            QCOMPARE(s.boegen[b].erlaubt, 5);
            QCOMPARE(s.boegen[b].bestanden, b == 0);
            QVERIFY(std::abs(s.boegen[b].vorhergesagt - stand(k, v, s.boegen[b].beginn).bestehenschance) < 1e-12);
        }
        QVERIFY(s.boegen[1].vorhergesagt != s.boegen[0].vorhergesagt);
    }

    // Lines of questions not in the catalogue, of no topic, garbled in time or yet to come change
    // nothing.
    void fremdeZeilen()
    {
        const Gesamtkatalog k = katalog(k25);
        const QList<Verlauf::Eintrag> v = lerne(k, 200, tage({9, 3}), 3);
        QList<Verlauf::Eintrag> gemischt;
        for (const Verlauf::Eintrag& e : v) {
            gemischt << e;
            Verlauf::Eintrag fremd = e;
            fremd.frage = "ffffffffffff" + e.frage.right(4);
            gemischt << fremd;
            fremd = e;
            fremd.thema = e.thema % 11 + 1;
            gemischt << fremd;
            fremd = e;
            fremd.zeit = QStringLiteral("2026-02-30T10:00:00Z");
            gemischt << fremd;
            fremd = e;
            fremd.zeit = kJetzt.addDays(1).toString(Qt::ISODate);
            fremd.richtig = !e.richtig;
            gemischt << fremd;
        }
        const Lernstand a = stand(k, v), b = stand(k, gemischt);
        QCOMPARE(b.treffer, a.treffer);
        QCOMPARE(b.bestehenschance, a.bestehenschance);
        QCOMPARE(b.gesamt.beantwortet, 200);
    }

    // VERLAUF.QXV read as the list is, and the fit kept beside it: taken while the history
    // stays as it was or has grown but little, fitted again when it grew more.
    void datei()
    {
        TestOrdner ordner;
        const Gesamtkatalog k = katalog(k25);
        const QList<Verlauf::Eintrag> v = lerne(k, 275, tage({20, 9, 2}), 3);
        QByteArray bytes;
        for (const Verlauf::Eintrag& e : v)
            bytes += Verlauf::alsZeile(e);
        ordner.schreibe("VERLAUF.QXV", bytes);

        const Lernstand erst = Lernstand::berechne(k, {}, kJetzt);
        QVERIFY(erst.angepasst && erst.verlaufGelesen);
        QCOMPARE(erst.bestehenschance, stand(k, v).bestehenschance);
        const QByteArray modell = ordner.lies("MODELL.QXV");
        QVERIFY(modell.startsWith("\"Lernmodell\",2\r\n\"Verlauf\"," + QByteArray::number(bytes.size()) + ",825\r\n"));
        QCOMPARE(modell.count("\r\n"), 4);
        QCOMPARE(modell.count('\n'), 4);

        // Parameters planted in the kept fit are taken as they stand.
        QList<QByteArray> zeilen = modell.split('\n');
        zeilen[2] = "\"Parameter\",0.11,0.22,3.3,4.4,0.55,0.66\r";
        ordner.schreibe("MODELL.QXV", zeilen.join('\n'));
        const Lernstand gepflanzt = Lernstand::berechne(k, {}, kJetzt);
        QCOMPARE(gepflanzt.parameter.fehlgriff, 0.11);
        QCOMPARE(gepflanzt.parameter.rueckfall, 0.55);
        QCOMPARE(gepflanzt.parameter.form, 0.66);
        QVERIFY(gepflanzt.bestehenschance != erst.bestehenschance);

        // Grown by less than a hundredth, the kept fit stands; by a hundredth, it is fitted again
        // and kept for the longer history.
        QList<Verlauf::Eintrag> laenger = v;
        QByteArray mehr = bytes;
        for (int i = 1; i <= 9; ++i) {
            laenger << v[i];
            mehr += Verlauf::alsZeile(v[i]);
            ordner.schreibe("VERLAUF.QXV", mehr);
            const Lernstand weiter = Lernstand::berechne(k, {}, kJetzt);
            QVERIFY(weiter.angepasst);
            QCOMPARE(weiter.parameter.fehlgriff == 0.11, i < 9);
        }
        QVERIFY(ordner.lies("MODELL.QXV").contains(",834\r\n"));

        // A kept fit with a value no fit gives is fitted afresh.
        zeilen[2] = "\"Parameter\",0.9,0.22,3.3,4.4,0.55,0.66\r";
        zeilen[1] = "\"Verlauf\"," + QByteArray::number(mehr.size()) + ",834\r";
        ordner.schreibe("MODELL.QXV", zeilen.join('\n'));
        QCOMPARE(Lernstand::berechne(k, {}, kJetzt).parameter, stand(k, laenger).parameter);
    }

#ifdef Q_OS_UNIX
    // The kept fit is written as the learner's other files are: in a folder that others may
    // write, not through a MODELL.QXV someone planted as a link; in the learner's own folder,
    // the link is followed.
    void modellImGeteiltenOrdner_data()
    {
        QTest::addColumn<int>("rechte");
        QTest::addColumn<bool>("gefolgt");
        QTest::newRow("own folder") << 0700 << true;
        QTest::newRow("shared folder") << 0777 << false;
        QTest::newRow("group's folder") << 0770 << false;
        QTest::newRow("shared with sticky bit") << 01777 << true;
    }
    void modellImGeteiltenOrdner()
    {
        QFETCH(int, rechte);
        QFETCH(bool, gefolgt);
        TestOrdner ordner;
        const Gesamtkatalog k = katalog(k25);
        QByteArray bytes;
        for (const Verlauf::Eintrag& e : lerne(k, 275, tage({20, 9, 2}), 3))
            bytes += Verlauf::alsZeile(e);
        ordner.schreibe("VERLAUF.QXV", bytes);
        ordner.schreibe("anderswo", "fremd\r\n");
        QVERIFY(QFile::link(ordner.datei("anderswo"), ordner.datei("MODELL.QXV")));
        const QByteArray pfad = QFile::encodeName(ordner.pfad());
        QCOMPARE(::chmod(pfad.constData(), mode_t(rechte)), 0);
        const Lernstand s = Lernstand::berechne(k, {}, kJetzt);
        ::chmod(pfad.constData(), 0700);
        QVERIFY(s.angepasst);
        QCOMPARE(ordner.lies("anderswo").startsWith("\"Lernmodell\""), gefolgt);
        QVERIFY(QFileInfo(ordner.datei("MODELL.QXV")).isSymLink());
    }
#endif
};

QTEST_GUILESS_MAIN(tst_Lernstand)
#include "tst_lernstand.moc"
