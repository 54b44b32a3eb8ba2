#include "Gesamtkatalog.h"
#include "Meldung.h"
#include "Modal.h"
#include "TestOrdner.h"
#include "Textfeld.h"
#include "Verlauf.h"
#include "practice/Balken.h"
#include "practice/Chancenkurve.h"
#include "practice/Fragenliste.h"
#include "practice/frmLernstand.h"
#include "practice/frmPruefung.h"
#include "practice/frmPruefungsergebnis.h"
#include "quiz/Bildfeld.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The simulated exam sheet and the learning progress, driven through their real controls. The
// sheet's clock is a test's own, so that no test waits for it.
namespace {

qint64 g_jetzt = 0;

// The box of the sheet's current question that holds answer `antwort` of the file.
int kastenMit(const frmPruefung& fenster, int antwort)
{
    for (int k = 1; k <= 4; ++k) {
        if (fenster.Img_Kasten[k]->Tag == QString::number(antwort))
            return k;
    }
    return 0;
}

} // namespace

class tst_Pruefungsfenster : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_ordner = std::make_unique<TestOrdner>();
        // Two topics of 5 questions: the sheet of 10 holds all of them.
        m_ordner->schreibe("QXV.1", Themendatei::mitFragen("Eins", 5));
        m_ordner->schreibe("QXV.2", Themendatei::mitFragen("Zwei", 5));
        m_katalog = Gesamtkatalog::lade();
        m_regel = {10, 30, 2};
        for (int t = 1; t <= 2; ++t) {
            for (int f = 1; f <= 5; ++f)
                m_bogen.append({t, f});
        }
        g_jetzt = 0;
        frmPruefung::uhr = [] { return g_jetzt; };
    }
    void cleanup()
    {
        m_ordner.reset();
        m_bogen.clear();
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // Keys 1 to 4 and clicks cross a box; a cross can be moved or taken back; "Zurück" and
    // "Weiter" move freely and each question keeps its cross and its order of answers.
    void ankreuzenUndBlaettern()
    {
        frmPruefung fenster(nullptr, m_katalog, m_regel, m_bogen);
        fenster.show();
        QCOMPARE(fenster.bez_Stand->text(), QString("Frage 1 von 10"));
        QVERIFY(!fenster.cmd_Zurueck->isEnabled());
        QTest::keyClick(fenster.cmd_Weiter, Qt::Key_3);
        QCOMPARE(fenster.Img_Kasten[3]->bild(), 2);
        QTest::mouseClick(fenster.Img_Kasten[1], Qt::LeftButton);
        QCOMPARE(fenster.Img_Kasten[3]->bild(), 1);
        QCOMPARE(fenster.Img_Kasten[1]->bild(), 2);
        QTest::keyClick(fenster.cmd_Weiter, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(fenster.Img_Kasten[1]->bild(), 2);
        const QString erste = fenster.Text_Antwort[1]->toPlainText();
        QCOMPARE(fenster.bez_Beantwortet->text(), QString("Beantwortet: 1 von 10"));

        fenster.cmd_Weiter->click();
        QCOMPARE(fenster.bez_Stand->text(), QString("Frage 2 von 10"));
        QTest::keyClick(fenster.cmd_Weiter, Qt::Key_2);
        QTest::keyClick(fenster.cmd_Weiter, Qt::Key_2);
        QCOMPARE(fenster.offen(), 9);
        fenster.cmd_Zurueck->click();
        QCOMPARE(fenster.Img_Kasten[1]->bild(), 2);
        QCOMPARE(fenster.Text_Antwort[1]->toPlainText(), erste);
        for (int i = 0; i < 9; ++i)
            fenster.cmd_Weiter->click();
        QCOMPARE(fenster.bez_Stand->text(), QString("Frage 10 von 10"));
        QVERIFY(!fenster.cmd_Weiter->isEnabled());
        QVERIFY(Meldung::gefragt().isEmpty());
        fenster.zeigeFrage(0);
        // Giving up asks first; "Nein" stays, "Ja" leaves without a trace in the history.
        QTest::keyClick(&fenster, Qt::Key_Escape);
        QVERIFY(fenster.isVisible());
        Meldung::setzeNaechsteAntwort(Meldung::Antwort::Ja);
        fenster.close();
        QVERIFY(!fenster.isVisible());
        QCOMPARE(Meldung::gefragt().size(), 2);
        QCOMPARE(Meldung::gefragt().last().titel, QString("Aufgeben ?"));
        // A stray Enter keeps the sheet.
        QCOMPARE(Meldung::gefragt().last().knoepfe, Meldung::Knoepfe::JaNeinVorgabeNein);
        QVERIFY(!m_ordner->gibt("VERLAUF.QXV"));
    }

    // Handed in with questions open: asked first. The result counts open as wrong, passes at
    // the rule's edge, and every question of the sheet is in the history.
    void abgeben_data()
    {
        QTest::addColumn<int>("richtig");
        QTest::addColumn<int>("falsch");
        QTest::addColumn<bool>("bestanden");
        QTest::addColumn<QString>("welcheOffen");
        QTest::newRow("all right") << 10 << 0 << true << QString();
        QTest::newRow("two wrong pass") << 8 << 2 << true << QString();
        QTest::newRow("three wrong fail") << 7 << 3 << false << QString();
        QTest::newRow("one wrong and two open fail") << 7 << 1 << false << "Die Fragen 9 und 10 sind";
        QTest::newRow("one open pass") << 9 << 0 << true << "Frage 10 ist";
        QTest::newRow("many open fail") << 2 << 1 << false << "Die Fragen 4–10 sind";
    }
    void abgeben()
    {
        QFETCH(int, richtig);
        QFETCH(int, falsch);
        QFETCH(bool, bestanden);
        QFETCH(QString, welcheOffen);
        const int offen = 10 - richtig - falsch;
        frmPruefung fenster(nullptr, m_katalog, m_regel, m_bogen);
        fenster.show();
        for (int i = 0; i < 10; ++i) {
            fenster.zeigeFrage(i);
            const int loesung = m_katalog.frage(m_bogen[i]).loesung;
            if (i < richtig)
                fenster.kreuze(kastenMit(fenster, loesung));
            else if (i < richtig + falsch)
                fenster.kreuze(kastenMit(fenster, loesung % 4 + 1));
        }
        g_jetzt = 754'000;
        QString ueberschrift, zahlen, regel, ersteZeile;
        int zeilen = -1;
        BeimNaechstenModal ergebnis(
            [&](QWidget* m) {
                auto* e = qobject_cast<frmPruefungsergebnis*>(m);
                ueberschrift = e->Label1->text();
                zahlen = e->bez_Zahlen->text();
                regel = e->bez_Regel->text();
                zeilen = e->LView_Fragen->count();
                ersteZeile = zeilen > 0 ? e->LView_Fragen->item(0)->data(Qt::AccessibleTextRole).toString() : QString();
                QTest::keyClick(e, Qt::Key_Return);
            },
            "frmPruefungsergebnis");
        Meldung::setzeNaechsteAntwort(Meldung::Antwort::Nein);
        fenster.cmd_Abgeben->click();
        QCOMPARE(fenster.isVisible(), offen > 0);
        if (offen > 0) {
            // The open questions by their numbers on the sheet.
            QCOMPARE(Meldung::gefragt().first().text,
                     welcheOffen + " noch nicht beantwortet. Möchten Sie den Bogen trotzdem abgeben ?");
            Meldung::setzeNaechsteAntwort(Meldung::Antwort::Ja);
            fenster.cmd_Abgeben->click();
        }
        QVERIFY(ergebnis.lief());
        QVERIFY(!fenster.isVisible());
        QCOMPARE(ueberschrift, QString(bestanden ? "Bestanden" : "Nicht bestanden"));
        QCOMPARE(zahlen, QString("Richtig: %1     Falsch: %2     Offen: %3").arg(richtig).arg(falsch).arg(offen));
        QCOMPARE(regel, QString("Bestanden ist ein Bogen von 10 Fragen mit höchstens 2 falschen oder offenen Antworten. "
                                "Bearbeitungszeit: 12 Minuten 34 Sekunden von 30 Minuten."));
        QCOMPARE(zeilen, falsch + offen);
        // A mistake is named by its number on the sheet first, then by its topic and number there.
        if (zeilen > 0)
            QVERIFY2(ersteZeile.contains(QString("Frage %1 (%2, Nr. %3): ")
                                             .arg(richtig + 1)
                                             .arg(m_bogen[richtig].thema == 1 ? "Eins" : "Zwei")
                                             .arg(m_bogen[richtig].frage)),
                     qPrintable(ersteZeile));

        QList<Verlauf::Eintrag> verlauf;
        Verlauf::lese([&](const Verlauf::Eintrag& e) { verlauf << e; });
        QCOMPARE(verlauf.size(), 10);
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(verlauf[i].modus, Verlauf::Modus::Pruefung);
            QCOMPARE(verlauf[i].frage, m_katalog.frage(m_bogen[i]).kennung);
            QCOMPARE(verlauf[i].richtig, i < richtig);
            QCOMPARE(verlauf[i].antwort == 0, i >= richtig + falsch);
        }
    }

    // The time taken, in words a learner reads without thinking: units, and the singular.
    void dauer_data()
    {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("seconds") << qint64(26'400) << "26 Sekunden";
        QTest::newRow("one second") << qint64(1'000) << "1 Sekunde";
        QTest::newRow("one minute") << qint64(60'000) << "1 Minute";
        QTest::newRow("both singular") << qint64(61'000) << "1 Minute 1 Sekunde";
    }
    void dauer()
    {
        QFETCH(qint64, ms);
        QTEST(frmPruefungsergebnis::dauer(ms), "text");
    }

    // The clock hands the sheet in by itself, without asking, also while a question is open; the
    // sheet's own timer does it, as the countdown shows.
    void zeitAbgelaufen()
    {
        frmPruefung fenster(nullptr, m_katalog, m_regel, m_bogen);
        fenster.show();
        g_jetzt = 25 * 60000;
        QTRY_COMPARE(fenster.bez_Zeit->text(), QString("Restzeit 5:00"));
        BeimNaechstenModal ergebnis([](QWidget* m) { m->close(); }, "frmPruefungsergebnis");
        g_jetzt = 30 * 60000;
        QTRY_VERIFY(ergebnis.lief());
        QVERIFY(!fenster.isVisible());
        QVERIFY(Meldung::gefragt().isEmpty());
    }

    // The progress: each topic's counts from the history's latest answers, the total, and what
    // the estimate rests on. (Lines of other topics: tst_lernstand's fremdeZeilen; the figure's
    // texts: lernstandTexte.)
    void lernstand()
    {
        Verlauf::Schreiber verlauf(Verlauf::Modus::Abfrage);
        const auto kennung = [&](int t, int f) { return m_katalog.frage({t, f}).kennung; };
        verlauf.schreibe(1, kennung(1, 1), 1, false);
        verlauf.schreibe(1, kennung(1, 1), 1, true);
        verlauf.schreibe(1, kennung(1, 2), 1, false);
        verlauf.schreibe(1, kennung(1, 3), 1, true);
        verlauf.schreibe(2, kennung(2, 5), 1, true);
        const Lernstand stand = Lernstand::berechne(m_katalog, m_regel, QDateTime::currentDateTimeUtc());
        frmLernstand fenster(nullptr, stand, m_regel);
        fenster.show();
        QCOMPARE(fenster.bez_Thema[1]->text(), QString("Eins"));
        QCOMPARE(fenster.bez_Thema[3]->text(), QString("(Themendatei QXV.3 fehlt)"));
        QCOMPARE(fenster.bez_Beantwortet[12]->text(), QString("4"));
        QCOMPARE(fenster.Balken_Stand[1]->accessibleName(),
                 QString("Eins: 2 zuletzt richtig, 1 zuletzt falsch, 2 noch nie beantwortet"));
        QVERIFY(fenster.bez_Grundlage->text().startsWith("Sie haben erst 4 von 10 Fragen beantwortet."));
        QTest::keyClick(&fenster, Qt::Key_Escape);
        QVERIFY(!fenster.isVisible());
    }

    // The figure as a learner reads it: never 0 % or 100 %, how sure it is, what it means with the
    // allowed wrong answers named, and the chart's first and last day for a screen reader.
    void lernstandTexte_data()
    {
        QTest::addColumn<QList<double>>("chance"); // the figure and the ends of its range
        QTest::addColumn<bool>("grob");
        QTest::addColumn<QStringList>("texte"); // the figure, its range, in words
        QTest::newRow("rough") << QList<double>{0.7, 0.58, 0.81} << true
                               << QStringList{"70 %", "Noch grob geschätzt: wahrscheinlich zwischen 58 % und 81 %",
                                              "etwa 70"};
        QTest::newRow("next to nothing") << QList<double>{0.004, 0.001, 0.03} << true
                                         << QStringList{"unter 1 %",
                                                        "Noch grob geschätzt: wahrscheinlich höchstens 3 %",
                                                        "kaum einen"};
        QTest::newRow("all but certain") << QList<double>{0.996, 0.97, 0.999} << false
                                         << QStringList{"über 99 %",
                                                        "Recht sicher geschätzt: wahrscheinlich mindestens 97 %",
                                                        "fast alle"};
    }
    void lernstandTexte()
    {
        QFETCH(QList<double>, chance);
        QFETCH(bool, grob);
        QFETCH(QStringList, texte);
        Lernstand stand;
        stand.gesamt = {QString(), 330, 200, 150, 50};
        stand.bestehenschance = chance[0];
        stand.chanceUnten = chance[1];
        stand.chanceOben = chance[2];
        stand.grob = grob;
        const QDate heute = QDate::currentDate();
        for (int tag = 59; tag >= 0; --tag)
            stand.tage << Lernstand::Tag{heute.addDays(-tag), tag == 0 ? chance[0] : 0.2};
        frmLernstand fenster(nullptr, stand, Pruefungsregel{});
        QCOMPARE(fenster.bez_Chance->text(), "Chance, die Prüfung heute zu bestehen: " + texte[0]);
        QCOMPARE(fenster.bez_Spanne->text(), texte[1]);
        QVERIFY(fenster.bez_Grundlage->text().contains("Von 100 Prüfungsbögen mit 24 Fragen würden Sie heute " +
                                                       texte[2] + " mit höchstens 5 falschen Antworten bestehen"));
        QCOMPARE(fenster.Kurve_Chance->accessibleDescription(),
                 "An den letzten 60 Tagen: am " + heute.addDays(-59).toString("dd.MM.yyyy") + " 20 %, heute " +
                     texte[0] + ". Die gestrichelte Linie liegt bei 50 %.");
    }

private:
    std::unique_ptr<TestOrdner> m_ordner;
    Gesamtkatalog m_katalog;
    Pruefungsregel m_regel;
    QList<Bogenfrage> m_bogen;
};

QTEST_MAIN(tst_Pruefungsfenster)
#include "tst_pruefungsfenster.moc"
