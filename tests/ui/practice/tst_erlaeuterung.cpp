#include "Gesamtkatalog.h"
#include "Katalog.h"
#include "Modal.h"
#include "TestOrdner.h"
#include "Textfeld.h"
#include "Verlauf.h"
#include "Windows1252.h"
#include "learn/frmLernen.h"
#include "practice/Fragenliste.h"
#include "practice/frmErlaeuterung.h"
#include "practice/frmPruefungsergebnis.h"
#include "practice/frmRueckblick.h"
#include "quiz/Bildfeld.h"
#include "quiz/frmAbfrage.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The explanation of a question: F1 and the question box's context menu in the quiz and the
// learn window once the right answer is shown, and the explanations in the review and the exam
// result, all from the topics' explanation files.
namespace {

// Explanations "Weil n." from "Quelle n" for the given questions of Themendatei::mitFragen.
QByteArray erlDatei(const QList<int>& fragen)
{
    QByteArray bytes = "\"Thema\",\"Erläuterungen\",0\r\n";
    for (int n : fragen)
        bytes += Windows1252::kodiere(QStringLiteral("\"Frage %1\",\"Antwort %1.%2\",\"Weil %1.\",\"Quelle %1\"\r\n")
                                          .arg(n)
                                          .arg((n - 1) % 4 + 1));
    return bytes;
}

struct Gesehen {
    QString frage, antwort, erlaeuterung, quelle;
    bool schreibgeschuetzt = false;
};

// Reads the open explanation window and leaves it as a learner would.
void lies(QWidget* modal, Gesehen& gesehen, bool mitKnopf = false)
{
    auto* fenster = qobject_cast<frmErlaeuterung*>(modal);
    QVERIFY(fenster);
    QCOMPARE(fenster->windowTitle(), QString("Erläuterung"));
    gesehen = {fenster->Text_Frage->text(), fenster->Text_Antwort->text(), fenster->Text_Erlaeuterung->text(),
               fenster->bez_Quelle->text(), fenster->Text_Frage->isReadOnly() && fenster->Text_Antwort->isReadOnly()};
    if (mitKnopf)
        QTest::keyClick(fenster->cmd_Schliessen, Qt::Key_Space);
    else
        QTest::keyClick(fenster, Qt::Key_Escape);
}

// Right clicks the question box and acts on its context menu.
void rechtsklick(QTextEdit* feld)
{
    const QPoint wo = feld->viewport()->rect().center();
    QContextMenuEvent ereignis(QContextMenuEvent::Mouse, wo, feld->viewport()->mapToGlobal(wo));
    QApplication::sendEvent(feld->viewport(), &ereignis);
}

} // namespace

class tst_Erlaeuterung : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_ordner = std::make_unique<TestOrdner>();
        frmAbfrage::pauseMs = 1;
        m_ordner->schreibe("QXV.5", Themendatei::mitFragen("Quizthema", 3));
        katalog().bildeDateiPfad();
        QCOMPARE(katalog().LadeThema(5), Katalog::Ladeergebnis::Geladen);
    }
    void cleanup()
    {
        m_ordner.reset();
        frmAbfrage::pauseMs = 650;
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // F1 opens the explanation once the right answer is shown and not before; the keyboard is
    // back where it was, and the next question starts without one again.
    void taste_data()
    {
        QTest::addColumn<bool>("abfrage");
        QTest::addColumn<bool>("mitDatei");
        QTest::newRow("quiz") << true << true;
        QTest::newRow("learn") << false << true;
        QTest::newRow("quiz, no explanation file") << true << false;
    }
    void taste()
    {
        QFETCH(bool, abfrage);
        QFETCH(bool, mitDatei);
        if (mitDatei)
            m_ordner->schreibe("QXV.5.ERL", erlDatei({2, 1}));
        std::unique_ptr<QDialog> fenster;
        QPushButton* weiter = nullptr;
        if (abfrage) {
            auto* f = new frmAbfrage;
            fenster.reset(f);
            weiter = f->cmd_NFrage;
        } else {
            auto* f = new frmLernen;
            fenster.reset(f);
            weiter = f->cmd_NFrage;
        }
        fenster->show();
        QVERIFY(QTest::qWaitForWindowActive(fenster.get()));

        const auto f1 = [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1); };
        {
            BeimNaechstenModal zuFrueh([](QWidget* m) { m->close(); });
            f1();
            QVERIFY(!zuFrueh.lief());
        }
        if (auto* quiz = qobject_cast<frmAbfrage*>(fenster.get())) {
            for (int k = 1; k <= 4; ++k) {
                if (quiz->Img_Kasten[k]->Tag == "4")
                    QTest::keyClick(quiz->cmd_Kontrolle, Qt::Key(Qt::Key_0 + k));
            }
            QTest::keyClick(quiz->cmd_Kontrolle, Qt::Key_Space);
            QTRY_VERIFY(weiter->isEnabled());
        } else {
            QTest::keyClick(weiter, Qt::Key_Space);
        }
        QCOMPARE(QApplication::focusWidget(), weiter);

        Gesehen gesehen;
        BeimNaechstenModal erl([&](QWidget* m) { lies(m, gesehen); }, "frmErlaeuterung");
        f1();
        QVERIFY(erl.lief());
        QCOMPARE(gesehen.frage, QString("Frage 1"));
        QCOMPARE(gesehen.antwort, QString("Antwort 1.1"));
        QVERIFY(gesehen.schreibgeschuetzt);
        if (mitDatei) {
            QCOMPARE(gesehen.erlaeuterung, QString("Weil 1."));
            QCOMPARE(gesehen.quelle, QString("Quelle: Quelle 1"));
        } else {
            QVERIFY(gesehen.erlaeuterung.startsWith("Zu dieser Frage gibt es noch keine Erläuterung."));
            QVERIFY(gesehen.erlaeuterung.contains("QXV.5.ERL"));
            QCOMPARE(gesehen.quelle, QString());
        }
        QTRY_COMPARE(QApplication::focusWidget(), weiter);

        // The keyboard goes on where it was: to the next question, which has no explanation yet.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(fenster->isVisible());
        BeimNaechstenModal naechste([](QWidget* m) { m->close(); });
        f1();
        QVERIFY(!naechste.lief());
        fenster->hide();
    }

    // F1 during the pause after the verdict: the pause ends while the explanation is open, and
    // afterwards the keyboard is where the quiz's own flow put it, on "Nächste Frage".
    void pauseEndetDabei()
    {
        frmAbfrage::pauseMs = 300;
        frmAbfrage fenster;
        fenster.show();
        QVERIFY(QTest::qWaitForWindowActive(&fenster));
        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_1);
        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_Space);
        QVERIFY(fenster.timer_NFrage->isActive());
        bool waehrendDerPause = false;
        BeimNaechstenModal erl(
            [&](QWidget* m) {
                waehrendDerPause = !fenster.cmd_NFrage->isEnabled();
                QTRY_VERIFY(fenster.cmd_NFrage->isEnabled());
                QTest::keyClick(m, Qt::Key_Escape);
            },
            "frmErlaeuterung");
        QTest::keyClick(&fenster, Qt::Key_F1);
        QVERIFY(erl.lief());
        QVERIFY(waehrendDerPause);
        QTRY_COMPARE(QApplication::focusWidget(), fenster.cmd_NFrage);
        fenster.hide();
    }

    // A right click on the question box keeps the toolkit's own entries and adds the explanation,
    // off before the verdict; chosen after it, it opens the window.
    void kontextmenue()
    {
        m_ordner->schreibe("QXV.5.ERL", erlDatei({1}));
        frmAbfrage fenster;
        fenster.show();
        QVERIFY(QTest::qWaitForWindowActive(&fenster));
        QStringList eintraege;
        const auto merke = [&](QMenu* m) {
            eintraege.clear();
            for (QAction* a : m->actions()) {
                if (!a->isSeparator())
                    eintraege << (a->objectName().isEmpty() ? a->text() : a->objectName()) +
                                     (a->isEnabled() ? "" : " (aus)");
            }
        };
        {
            BeimNaechstenMenue menue([&](QMenu* m) {
                merke(m);
                QTest::keyClick(m, Qt::Key_Escape);
            });
            rechtsklick(fenster.bez_Frage);
            QVERIFY(menue.lief());
        }
        // Nothing is selected, so the toolkit's "Copy" is off.
        QVERIFY(eintraege.contains("edit-copy (aus)"));
        QVERIFY(eintraege.contains("select-all"));
        QCOMPARE(eintraege.last(), QString("erlaeuterung (aus)"));

        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_1);
        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_Space);
        Gesehen gesehen;
        BeimNaechstenModal erl([&](QWidget* m) { lies(m, gesehen, true); }, "frmErlaeuterung");
        BeimNaechstenMenue menue([&](QMenu* m) {
            merke(m);
            QCOMPARE(m->actions().last()->text(), QString("&Erläuterung\tF1"));
            QTest::keyClick(m, Qt::Key_E);
        });
        rechtsklick(fenster.bez_Frage);
        QVERIFY(menue.lief());
        QVERIFY(erl.lief());
        QCOMPARE(eintraege.last(), QString("erlaeuterung"));
        QCOMPARE(gesehen.erlaeuterung, QString("Weil 1."));
        QVERIFY(fenster.isVisible());
        fenster.hide();
    }

    // The review shows the explanation under each wrong answer, never under a right one.
    void rueckblick()
    {
        m_ordner->schreibe("QXV.5.ERL", erlDatei({1, 2}));
        Verlauf::Schreiber lauf(Verlauf::Modus::Abfrage);
        for (int n = 1; n <= 3; ++n)
            lauf.schreibe(5, Verlauf::kennung(katalog(), n), n == 1 ? 1 : 4, n == 1);
        frmRueckblick fenster(nullptr, Verlauf::letzterLauf(5));
        QStringList zeilen;
        for (int i = 0; i < fenster.LView_Fragen->count(); ++i)
            zeilen << fenster.LView_Fragen->item(i)->data(Qt::AccessibleTextRole).toString();
        QCOMPARE(zeilen,
                 (QStringList{"Falsch. Frage 2: Frage 2 Ihre Antwort: Antwort 2.4 Richtige Antwort: Antwort 2.2 "
                              "Erläuterung: Weil 2. (Quelle: Quelle 2)",
                              "Falsch. Frage 3: Frage 3 Ihre Antwort: Antwort 3.4 Richtige Antwort: Antwort 3.3",
                              "Richtig. Frage 1: Frage 1 Ihre Antwort, richtig: Antwort 1.1"}));
        // The explanation takes room of its own in the row.
        const QModelIndex erster = fenster.LView_Fragen->model()->index(0, 0);
        const QModelIndex zweiter = fenster.LView_Fragen->model()->index(1, 0);
        QVERIFY(fenster.LView_Fragen->sizeHintForIndex(erster).height() >
                fenster.LView_Fragen->sizeHintForIndex(zweiter).height());
    }

    // The exam result explains each wrong or open question from its own topic's file, and names
    // no right answer for a question whose right-answer number is out of range.
    void pruefungsergebnis()
    {
        m_ordner->schreibe("QXV.1", Themendatei::mitFragen("Eins", 2));
        m_ordner->schreibe("QXV.1.ERL", erlDatei({1, 2}));
        m_ordner->schreibe("QXV.2", Themendatei::kopf("Zwei") + Themendatei::frage("Frage 1", {"a", "b", "c", "d"}, 7));
        const Gesamtkatalog katalog = Gesamtkatalog::lade();
        Pruefungsergebnis ergebnis;
        ergebnis.falsch = 1;
        ergebnis.offen = 2;
        ergebnis.fehler = {{1, 2, 0}, {5, 3, 1}, {2, 1, 4}};
        frmPruefungsergebnis fenster(nullptr, katalog, ergebnis);
        QStringList zeilen;
        for (int i = 0; i < fenster.LView_Fragen->count(); ++i)
            zeilen << fenster.LView_Fragen->item(i)->data(Qt::AccessibleTextRole).toString();
        QCOMPARE(zeilen, (QStringList{"Offen. Eins, Frage 2: Frage 2 Nicht beantwortet Richtige Antwort: Antwort 2.2 "
                                      "Erläuterung: Weil 2. (Quelle: Quelle 2)",
                                      "Falsch. Quizthema, Frage 3: Frage 3 Ihre Antwort: Antwort 3.1 Richtige Antwort: "
                                      "Antwort 3.3",
                                      "Falsch. Zwei, Frage 1: Frage 1 Ihre Antwort: d Richtige Antwort:"}));
    }

private:
    std::unique_ptr<TestOrdner> m_ordner;
};

QTEST_MAIN(tst_Erlaeuterung)
#include "tst_erlaeuterung.moc"
