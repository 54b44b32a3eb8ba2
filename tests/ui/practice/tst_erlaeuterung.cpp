#include "Katalog.h"
#include "Modal.h"
#include "TestOrdner.h"
#include "Textfeld.h"
#include "Verlauf.h"
#include "learn/frmLernen.h"
#include "practice/Fragenliste.h"
#include "practice/frmErlaeuterung.h"
#include "practice/frmPruefungsergebnis.h"
#include "practice/frmRueckblick.h"
#include "quiz/frmAbfrage.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

// The explanation of a question: F1 and the question box's context menu in the quiz and the
// learn window once the right answer is shown, and the explanations in the review and the exam
// result, all from the topics' explanation files.
namespace {

// Explanations "Weil n." from "Quelle n" for these questions of Themendatei::mitFragen.
QByteArray erlDatei(const QList<int>& fragen)
{
    QByteArray bytes = "\"Thema\",\"\",0\r\n";
    for (int n : fragen)
        bytes += QStringLiteral("\"Frage %1\",\"Antwort %1.%2\",\"Weil %1.\",\"Quelle %1\"\r\n")
                     .arg(n)
                     .arg((n - 1) % 4 + 1)
                     .toLatin1();
    return bytes;
}

// What the open explanation window shows, one text a line; it is left by Escape.
QString lies(QWidget* modal)
{
    auto* f = qobject_cast<frmErlaeuterung*>(modal);
    if (!f)
        return {};
    const QString gesehen = QStringList{f->windowTitle(), f->Text_Frage->text(), f->Text_Antwort->text(),
                                        f->Text_Erlaeuterung->text(), f->bez_Quelle->text()}
                                .join('\n');
    QTest::keyClick(f, Qt::Key_Escape);
    return gesehen;
}

QStringList zeilen(const Fragenliste* liste)
{
    QStringList z;
    for (int i = 0; i < liste->count(); ++i)
        z << liste->item(i)->data(Qt::AccessibleTextRole).toString();
    return z;
}

} // namespace

class tst_Erlaeuterung : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_ordner = std::make_unique<TestOrdner>();
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

    // F1, or the entry that a right click on the question box adds to the toolkit's own, opens the
    // explanation once the right answer is shown and not before (the entry is off until then); in
    // the quiz, during the pause after the verdict. Afterwards the keyboard is where the window's
    // own flow put it, and the next question starts without an explanation again.
    void taste_data()
    {
        QTest::addColumn<bool>("abfrage");
        QTest::addColumn<bool>("mitDatei");
        QTest::addColumn<bool>("menue");
        QTest::newRow("quiz") << true << true << false;
        QTest::newRow("learn") << false << true << false;
        QTest::newRow("quiz, no explanation file") << true << false << false;
        QTest::newRow("quiz, context menu") << true << true << true;
    }
    void taste()
    {
        QFETCH(bool, abfrage);
        QFETCH(bool, mitDatei);
        QFETCH(bool, menue);
        if (mitDatei)
            m_ordner->schreibe("QXV.5.ERL", erlDatei({2, 1}));
        frmAbfrage::pauseMs = 300;
        std::unique_ptr<QDialog> fenster(abfrage ? static_cast<QDialog*>(new frmAbfrage) : new frmLernen);
        auto* weiter = fenster->findChild<QPushButton*>("cmd_NFrage");
        fenster->show();
        QVERIFY(QTest::qWaitForWindowActive(fenster.get()));
        // What F1 or the menu's entry opens, or "-" for nothing; the menu's own entry for selecting
        // all and the explanation's, each time it opened.
        QStringList eintraege;
        const auto f1 = [&] {
            QString gesehen;
            BeimNaechstenModal erl(
                [&](QWidget* m) {
                    QTRY_VERIFY(weiter->isEnabled());
                    gesehen = lies(m);
                },
                "frmErlaeuterung");
            if (!menue) {
                QTest::keyClick(fenster.get(), Qt::Key_F1);
                return erl.lief() ? gesehen : QStringLiteral("-");
            }
            BeimNaechstenMenue m([&](QMenu* popup) {
                for (QAction* a : popup->actions())
                    if (a->objectName() == "select-all" || a->objectName() == "erlaeuterung")
                        eintraege << a->objectName() + (a->isEnabled() ? "" : " (aus)");
                QTest::keyClick(popup, popup->actions().last()->isEnabled() ? Qt::Key_E : Qt::Key_Escape);
            });
            QWidget* feld = qobject_cast<frmAbfrage*>(fenster.get())->bez_Frage->viewport();
            const QPoint wo = feld->rect().center();
            QContextMenuEvent ereignis(QContextMenuEvent::Mouse, wo, feld->mapToGlobal(wo));
            QApplication::sendEvent(feld, &ereignis);
            return m.lief() && erl.lief() ? gesehen : QStringLiteral("-");
        };
        QCOMPARE(f1(), QString("-"));
        if (auto* quiz = qobject_cast<frmAbfrage*>(fenster.get())) {
            QTest::keyClick(quiz->cmd_Kontrolle, Qt::Key_1);
            QTest::keyClick(quiz->cmd_Kontrolle, Qt::Key_Space);
            QVERIFY(!weiter->isEnabled());
        } else {
            QTest::keyClick(weiter, Qt::Key_Space);
        }
        const QString erwartet = mitDatei
                                     ? "Weil 1.\nQuelle: Quelle 1"
                                     : "Zu dieser Frage gibt es noch keine Erläuterung.\r\n\r\nErläuterungen stehen in "
                                       "der Datei QXV.5.ERL im Ordner des Programms; wie man sie schreibt, steht "
                                       "in Readme.txt.\n";
        QCOMPARE(f1(), "Erläuterung\nFrage 1\nAntwort 1.1\n" + erwartet);
        QTRY_COMPARE(QApplication::focusWidget(), weiter);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(fenster->isVisible());
        QCOMPARE(f1(), QString("-"));
        if (menue)
            QCOMPARE(eintraege, (QStringList{"select-all", "erlaeuterung (aus)", "select-all", "erlaeuterung",
                                             "select-all", "erlaeuterung (aus)"}));
        fenster->hide();
    }

    // The review and the exam result list the wrong or open questions first, each with the answer
    // chosen, the right one and the explanation from its own topic's file, never under a right
    // one; the exam result names no right answer for a number out of range. The review says what
    // the run was, and its list takes the keyboard: Enter closes it.
    void listen()
    {
        m_ordner->schreibe("QXV.5.ERL", erlDatei({1, 2}));
        Verlauf::Schreiber lauf(Verlauf::Modus::Abfrage);
        QList<QByteArray> kennungen;
        for (int n = 1; n <= 3; ++n) {
            kennungen << Verlauf::kennung(katalog(), n);
            lauf.schreibe(5, kennungen.last(), n == 1 ? 1 : 4, n == 1);
        }
        frmRueckblick rueckblick(nullptr, Verlauf::letzterLauf(5, kennungen));
        rueckblick.show();
        QCOMPARE(zeilen(rueckblick.LView_Fragen),
                 (QStringList{"Falsch. Frage 2: Frage 2 Ihre Antwort: Antwort 2.4 Richtige Antwort: Antwort 2.2 "
                              "Erläuterung: Weil 2. (Quelle: Quelle 2)",
                              "Falsch. Frage 3: Frage 3 Ihre Antwort: Antwort 3.4 Richtige Antwort: Antwort 3.3",
                              "Richtig. Frage 1: Frage 1 Ihre Antwort, richtig: Antwort 1.1"}));
        QVERIFY(rueckblick.bez_Lauf->text().endsWith("3 Fragen beantwortet, davon 2 falsch"));
        QCOMPARE(rueckblick.focusWidget(), rueckblick.LView_Fragen);
        QTest::keyClick(rueckblick.LView_Fragen, Qt::Key_Return);
        QVERIFY(!rueckblick.isVisible());

        m_ordner->schreibe("QXV.2", Themendatei::kopf("Zwei") + Themendatei::frage("Frage 1", {"a", "b", "c", "d"}, 7));
        Pruefungsergebnis ergebnis;
        ergebnis.fehler = {{1, 5, 2, 0}, {2, 5, 3, 1}, {3, 2, 1, 4}};
        const frmPruefungsergebnis pruefung(nullptr, Gesamtkatalog::lade(), ergebnis);
        QCOMPARE(zeilen(pruefung.LView_Fragen),
                 (QStringList{"Offen. Frage 1 (Quizthema, Nr. 2): Frage 2 Nicht beantwortet Richtige Antwort: Antwort 2.2 "
                              "Erläuterung: Weil 2. (Quelle: Quelle 2)",
                              "Falsch. Frage 2 (Quizthema, Nr. 3): Frage 3 Ihre Antwort: Antwort 3.1 Richtige Antwort: "
                              "Antwort 3.3",
                              "Falsch. Frage 3 (Zwei, Nr. 1): Frage 1 Ihre Antwort: d Richtige Antwort:"}));
    }

private:
    std::unique_ptr<TestOrdner> m_ordner;
};

QTEST_MAIN(tst_Erlaeuterung)
#include "tst_erlaeuterung.moc"
