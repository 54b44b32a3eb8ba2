#include "Bildknopf.h"
#include "Gesamtkatalog.h"
#include "Katalog.h"
#include "Meldung.h"
#include "Modal.h"
#include "TestOrdner.h"
#include "Textfeld.h"
#include "Tipps.h"
#include "User.h"
#include "Verlauf.h"
#include "main/frmMain.h"
#include "practice/Fragenliste.h"
#include "practice/frmRueckblick.h"
#include "quiz/Bildfeld.h"
#include "quiz/frmAbfrage.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

// The practice from the topic list's context menu: the drill of the learner's mistakes and the
// review of the latest run, driven through the real menu and windows.
namespace {

// Answers the open quiz window's next questions, right or wrong as `richtig` says, by the keys
// a learner would press; after the last one of the run it leaves through the result dialog.
void beantworte(QWidget* modal, const QList<bool>& richtig, bool bisZumErgebnis = true)
{
    auto* fenster = qobject_cast<frmAbfrage*>(modal);
    QVERIFY(fenster);
    BeimNaechstenModal ergebnis([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Return); }, "frmAbfrageEnde");
    for (bool r : richtig) {
        const int loesung = fenster->aktuelleFrage().loesung;
        const int gewaehlt = r ? loesung : loesung % 4 + 1;
        for (int k = 1; k <= 4; ++k) {
            if (fenster->Img_Kasten[k]->Tag == QString::number(gewaehlt))
                QTest::keyClick(fenster->cmd_Kontrolle, Qt::Key(Qt::Key_0 + k));
        }
        QTest::keyClick(fenster->cmd_Kontrolle, Qt::Key_Space);
        QTRY_VERIFY(fenster->cmd_NFrage->isEnabled());
        QTest::keyClick(fenster->cmd_NFrage, Qt::Key_Space);
    }
    if (bisZumErgebnis)
        QTRY_VERIFY(ergebnis.lief());
}

// Every question of topics 1 to `bis` answered just now, so that none of them is due today; one
// in four wrong, so that the learner is not taken to know the questions not yet answered.
void heuteBeantwortet(int bis)
{
    const Gesamtkatalog gesamt = Gesamtkatalog::lade();
    Verlauf::Schreiber lauf(Verlauf::Modus::Abfrage);
    for (int t = 1; t <= bis; ++t) {
        for (const Katalogfrage& f : gesamt.fragen[t])
            QVERIFY(lauf.schreibe(t, f.kennung, f.nummer % 4 ? f.loesung : f.loesung % 4 + 1, f.nummer % 4 != 0));
    }
}

// Chooses an entry of the topic list's context menu, opened with Shift+F10, by its access key.
void imMenue(frmMain& fenster, Qt::Key taste)
{
    BeimNaechstenMenue menue([taste](QMenu* m) { QTest::keyClick(m, taste); });
    QTest::keyClick(fenster.LView, Qt::Key_F10, Qt::ShiftModifier);
    QVERIFY(menue.lief());
}

// Quizzes topic `thema` from the main window, answering right or wrong as `richtig` says.
void frageAb(frmMain& fenster, int thema, const QList<bool>& richtig)
{
    fenster.LView->item(thema - 1)->setCheckState(Qt::Checked);
    BeimNaechstenModal lauf([richtig](QWidget* m) { beantworte(m, richtig); }, "frmAbfrage");
    fenster.Button[1]->click();
    QVERIFY(lauf.lief());
}

QStringList eintraege(QMenu* menue)
{
    QStringList liste;
    for (QAction* a : menue->actions()) {
        if (!a->isSeparator())
            liste << a->text() + (a->isEnabled() ? "" : " (aus)");
    }
    return liste;
}

} // namespace

class tst_Uebung : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_ordner = std::make_unique<TestOrdner>();
        frmAbfrage::pauseMs = 1;
        m_ordner->schreibeAlleThemen(4);
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
    }
    void cleanup()
    {
        m_ordner.reset();
        frmAbfrage::pauseMs = 650;
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // A right click opens the menu for the topic under the pointer, the Menu key (and Shift+F10,
    // which every other test here uses) for the current one; the checks stay as they were.
    void kontextmenue_data()
    {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<int>("thema");
        QTest::newRow("right click on topic 6") << "maus" << 6;
        QTest::newRow("right click below the topics") << "leer" << 0;
        QTest::newRow("Menu key") << "menue" << 2;
    }
    void kontextmenue()
    {
        QFETCH(QString, weg);
        QFETCH(int, thema);
        frmMain fenster;
        fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenster));
        fenster.LView->item(3)->setCheckState(Qt::Checked);
        fenster.LView->setCurrentRow(1);
        const QRect feld = fenster.LView->visualItemRect(fenster.LView->item(5));
        const QRect liste = fenster.LView->viewport()->rect();

        QStringList gesehen;
        BeimNaechstenMenue menue([&](QMenu* m) {
            gesehen = eintraege(m);
            // "&Rückblick", or away when there is nothing to choose.
            QTest::keyClick(m, thema ? Qt::Key_R : Qt::Key_Escape);
        });
        if (weg == "maus" || weg == "leer") {
            const QPoint wo = weg == "maus" ? feld.center() : QPoint(liste.center().x(), liste.bottom() - 2);
            QContextMenuEvent ereignis(QContextMenuEvent::Mouse, wo, fenster.LView->viewport()->mapToGlobal(wo));
            QApplication::sendEvent(fenster.LView->viewport(), &ereignis);
        } else {
            QContextMenuEvent ereignis(QContextMenuEvent::Keyboard, QPoint(), QPoint());
            QApplication::sendEvent(fenster.LView, &ereignis);
        }
        QTRY_VERIFY(menue.lief());
        const QString aus = thema ? "" : " (aus)";
        QCOMPARE(gesehen.mid(0, 2), (QStringList{"&Fehler üben" + aus, "&Rückblick" + aus}));
        // The review of a topic never quizzed says so; below the topics nothing is asked.
        QCOMPARE(Meldung::gefragt().size(), thema ? 1 : 0);
        if (thema)
            QCOMPARE(Meldung::gefragt().first().text, QString("Dieses Thema haben Sie noch nicht abgefragt !"));
        for (int i = 0; i < 11; ++i)
            QCOMPARE(fenster.LView->item(i)->checkState(), i == 3 ? Qt::Checked : Qt::Unchecked);
        fenster.close();
    }

    // A quiz with two wrong answers, the drill of exactly those two through the menu, a drill
    // that gets one right, and the review of that drill. No grade changes but the quiz's.
    void fehlerUebenUndRueckblick()
    {
        frmMain fenster;
        fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenster));
        fenster.LView->setCurrentRow(3);
        frageAb(fenster, 4, {true, false, false, true});
        QCOMPARE(Benutzer().Ergebnis(4), qint16(2));

        QStringList gefragt;
        QString insgesamt;
        BeimNaechstenModal drill(
            [&](QWidget* m) {
                auto* f = qobject_cast<frmAbfrage*>(m);
                insgesamt = f->bez_FrInsgesamt->text();
                gefragt << f->bez_Frage->toPlainText();
                beantworte(m, {true}, false);
                gefragt << f->bez_Frage->toPlainText();
                beantworte(m, {false});
            },
            "frmAbfrage");
        Benutzer().setzeErgebnis(4, 3);
        imMenue(fenster, Qt::Key_F);
        QVERIFY(drill.lief());
        QCOMPARE(gefragt, (QStringList{"Frage 2", "Frage 3"}));
        QCOMPARE(insgesamt, QString("2"));
        QCOMPARE(Benutzer().Ergebnis(4), qint16(3));

        // The next drill asks only the one still wrong.
        BeimNaechstenModal zweiter(
            [&](QWidget* m) {
                auto* f = qobject_cast<frmAbfrage*>(m);
                QCOMPARE(f->bez_FrInsgesamt->text(), QString("1"));
                QCOMPARE(f->bez_Frage->toPlainText(), QString("Frage 3"));
                beantworte(m, {true});
            },
            "frmAbfrage");
        imMenue(fenster, Qt::Key_F);
        QVERIFY(zweiter.lief());

        BeimNaechstenModal rueckblick(
            [&](QWidget* m) {
                auto* r = qobject_cast<frmRueckblick*>(m);
                QCOMPARE(r->LView_Fragen->count(), 1);
                QCOMPARE(r->LView_Fragen->item(0)->data(Qt::AccessibleTextRole).toString(),
                         QString("Richtig. Frage 3: Frage 3 Ihre Antwort, richtig: Antwort 3.3"));
                QTest::keyClick(r, Qt::Key_Escape);
            },
            "frmRueckblick");
        imMenue(fenster, Qt::Key_R);
        QVERIFY(rueckblick.lief());

        // Nothing left to drill.
        imMenue(fenster, Qt::Key_F);
        QCOMPARE(Meldung::gefragt().last().text,
                 QString("In diesem Thema gibt es keine Fragen, die Sie zuletzt falsch beantwortet haben !"));
        fenster.close();
    }

    // The practice is found without the manual: the list's tooltip names what its right click
    // offers, and the first finished quiz of a learner, never a later one, ends with a hint,
    // remembered beside USER.QXV in a file of its own. Here the history cannot be written: that
    // is said once, in the first quiz, which goes on to its end, and USER.QXV gets the grade as ever.
    void tippNachDerErstenAbfrage()
    {
        QVERIFY(QDir(m_ordner->pfad()).mkdir("VERLAUF.QXV"));
        const auto gezaehlt = [](const QString& titel) {
            int n = 0;
            for (const Meldung::Eintrag& e : Meldung::gefragt())
                n += e.titel == titel;
            return n;
        };
        const QList<bool> alleRichtig(4, true);
        {
            frmMain fenster;
            fenster.show();
            QVERIFY(fenster.LView->toolTip().contains("Fehler üben") &&
                    fenster.LView->toolTip().contains("Prüfung simulieren"));
            // A cancelled quiz is no finished one.
            fenster.LView->item(3)->setCheckState(Qt::Checked);
            BeimNaechstenModal abgebrochen(
                [](QWidget* m) {
                    Meldung::setzeNaechsteAntwort(Meldung::Antwort::Ja);
                    qobject_cast<frmAbfrage*>(m)->cmd_Abbrechen->click();
                },
                "frmAbfrage");
            fenster.Button[1]->click();
            QVERIFY(abgebrochen.lief());
            QCOMPARE(gezaehlt("Tipp"), 0);
            frageAb(fenster, 4, alleRichtig);
            QCOMPARE(gezaehlt("Antwortverlauf"), 1);
            QCOMPARE(gezaehlt("Tipp"), 1);
            QVERIFY(Meldung::gefragt().last().text.contains("rechten Maustaste"));
            frageAb(fenster, 4, alleRichtig);
            QCOMPARE(gezaehlt("Tipp"), 1);
            fenster.close();
        }
        QVERIFY(m_ordner->gibt("TIPPS.QXV"));
        QCOMPARE(m_ordner->lies("USER.QXV"), userDatei({1, 1, 1, 4, 1, 1, 1, 1, 1, 1, 1}));
        Tipps::vergiss();
        frmMain wieder;
        wieder.show();
        frageAb(wieder, 4, alleRichtig);
        QCOMPARE(gezaehlt("Tipp"), 1);
        QCOMPARE(gezaehlt("Antwortverlauf"), 1);
        wieder.close();
    }

    // "Heute üben" from any topic asks what is due across all topics (here the two not answered
    // today), no more than PRUEFUNG.QXV allows, each under its own topic's title. Its answers go
    // into the history as such; it grades nothing, not even the topic in the bank, and leaves
    // USER.QXV unwritten.
    void heuteUeben()
    {
        m_ordner->schreibe("PRUEFUNG.QXV", "\"Heute\",5\r\n");
        heuteBeantwortet(9);
        const QDateTime alt = QDateTime::currentDateTime().addDays(-2);
        QFile user(m_ordner->datei("USER.QXV"));
        QVERIFY(user.open(QIODevice::ReadWrite) && user.setFileTime(alt, QFileDevice::FileModificationTime));
        user.close();
        frmMain fenster;
        fenster.LView->setCurrentRow(2);
        QCOMPARE(katalog().LadeThema(3), Katalog::Ladeergebnis::Geladen);
        QString insgesamt;
        QSet<QString> titel;
        BeimNaechstenModal lauf(
            [&](QWidget* m) {
                auto* f = qobject_cast<frmAbfrage*>(m);
                insgesamt = f->bez_FrInsgesamt->text();
                for (int i = 0; i < 5; ++i) {
                    titel << f->bez_Titel->text();
                    beantworte(m, {i % 2 == 0}, i == 4);
                }
            },
            "frmAbfrage");
        imMenue(fenster, Qt::Key_H);
        QVERIFY(lauf.lief());
        QCOMPARE(insgesamt, QString("5"));
        QCOMPARE(titel, (QSet<QString>{"Thema 10", "Thema 11"}));
        QCOMPARE(m_ordner->lies("VERLAUF.QXV").count(",\"Heute\",1"), 5);
        QCOMPARE(Benutzer().Ergebnis(3), qint16(1));
        QCOMPARE(QFileInfo(user).lastModified(), alt);
        fenster.close();
    }

    // With everything practised today, "Heute üben" asks nothing and says when to come back.
    void heuteNichtsFaellig()
    {
        heuteBeantwortet(11);
        frmMain fenster;
        imMenue(fenster, Qt::Key_H);
        QCOMPARE(Meldung::gefragt().size(), 1);
        QCOMPARE(Meldung::gefragt().first().text,
                 QString("Heute ist keine Frage fällig !\nDie nächste Frage ist ab morgen fällig."));
        fenster.close();
    }

    // The exam sheet and the progress are for the whole catalogue, from any place in the list. A
    // sheet larger than the catalogue takes every question and says so.
    void pruefungUndLernstand()
    {
        m_ordner->schreibe("PRUEFUNG.QXV", "\"Fragen\",50\r\n\"Minuten\",20\r\n");
        QFile::remove(m_ordner->datei("QXV.11"));
        frmMain fenster;
        fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenster));
        QString stand, zeit;
        BeimNaechstenModal bogen(
            [&](QWidget* m) {
                stand = m->findChild<QLabel*>("bez_Stand")->text();
                zeit = m->findChild<QLabel*>("bez_Zeit")->text();
                Meldung::setzeNaechsteAntwort(Meldung::Antwort::Ja);
                m->close();
            },
            "frmPruefung");
        imMenue(fenster, Qt::Key_P);
        QVERIFY(bogen.lief());
        // The missing topic is named, and the smaller sheet allows fewer wrong answers: 5 * 40 / 50.
        QCOMPARE(Meldung::gefragt().first().text,
                 QString("Aus diesen Themen kommen keine Fragen auf den Prüfungsbogen:\nQXV.11 fehlt\n\n"
                         "Die Themendateien enthalten nur 40 Fragen statt 50.\nDer Prüfungsbogen enthält alle 40 "
                         "Fragen und ist\nmit höchstens 4 falschen Antworten bestanden."));
        QCOMPARE(stand, QString("Frage 1 von 40"));
        QCOMPARE(zeit, QString("Restzeit 20:00"));

        QString gesamt;
        BeimNaechstenModal lernstand(
            [&](QWidget* m) {
                gesamt = m->findChild<QLabel*>("bez_Fragen12")->text();
                QTest::keyClick(m, Qt::Key_Escape);
            },
            "frmLernstand");
        imMenue(fenster, Qt::Key_S);
        QVERIFY(lernstand.lief());
        QCOMPARE(gesamt, QString("40"));
        fenster.close();
    }

private:
    std::unique_ptr<TestOrdner> m_ordner;
};

QTEST_MAIN(tst_Uebung)
#include "tst_uebung.moc"
