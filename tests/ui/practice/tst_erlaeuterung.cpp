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

    // F1 opens the explanation once the right answer is shown and not before; in the quiz, during
    // the pause after the verdict. Afterwards the keyboard is where the window's own flow put it,
    // and the next question starts without an explanation again.
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
        frmAbfrage::pauseMs = 300;
        std::unique_ptr<QDialog> fenster(abfrage ? static_cast<QDialog*>(new frmAbfrage) : new frmLernen);
        auto* weiter = fenster->findChild<QPushButton*>("cmd_NFrage");
        fenster->show();
        QVERIFY(QTest::qWaitForWindowActive(fenster.get()));
        // What F1 opens, or "-" for nothing.
        const auto f1 = [&] {
            QString gesehen;
            BeimNaechstenModal erl([&](QWidget* m) {
                QTRY_VERIFY(weiter->isEnabled());
                gesehen = lies(m);
            });
            QTest::keyClick(fenster.get(), Qt::Key_F1);
            return erl.lief() ? gesehen : QStringLiteral("-");
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
        fenster->hide();
    }

    // A right click on the question box keeps the toolkit's own entries and adds the explanation,
    // off before the verdict; chosen after it, it opens the window.
    void kontextmenue()
    {
        m_ordner->schreibe("QXV.5.ERL", erlDatei({1}));
        frmAbfrage fenster;
        fenster.show();
        QVERIFY(QTest::qWaitForWindowActive(&fenster));
        const auto menue = [&](Qt::Key taste) {
            QStringList eintraege;
            BeimNaechstenMenue m([&](QMenu* menue) {
                for (QAction* a : menue->actions())
                    eintraege << a->objectName() + a->text() + (a->isEnabled() ? "" : " (aus)");
                QTest::keyClick(menue, taste);
            });
            const QPoint wo = fenster.bez_Frage->viewport()->rect().center();
            QContextMenuEvent ereignis(QContextMenuEvent::Mouse, wo, fenster.bez_Frage->viewport()->mapToGlobal(wo));
            QApplication::sendEvent(fenster.bez_Frage->viewport(), &ereignis);
            return eintraege;
        };
        const QStringList vorher = menue(Qt::Key_Escape);
        QVERIFY(vorher.filter("select-all").size() == 1);
        QCOMPARE(vorher.last(), QString("erlaeuterung&Erläuterung\tF1 (aus)"));

        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_1);
        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_Space);
        QString gesehen;
        BeimNaechstenModal erl([&](QWidget* m) { gesehen = lies(m); }, "frmErlaeuterung");
        QCOMPARE(menue(Qt::Key_E).last(), QString("erlaeuterung&Erläuterung\tF1"));
        QVERIFY(erl.lief());
        QVERIFY(gesehen.contains("\nWeil 1.\n"));
        fenster.hide();
    }

    // The review and the exam result show the explanation under each wrong or open question from
    // its own topic's file, never under a right one; the exam result names no right answer for a
    // number out of range.
    void listen()
    {
        m_ordner->schreibe("QXV.5.ERL", erlDatei({1, 2}));
        Verlauf::Schreiber lauf(Verlauf::Modus::Abfrage);
        QList<QByteArray> kennungen;
        for (int n = 1; n <= 3; ++n) {
            kennungen << Verlauf::kennung(katalog(), n);
            lauf.schreibe(5, kennungen.last(), n == 1 ? 1 : 4, n == 1);
        }
        const frmRueckblick rueckblick(nullptr, Verlauf::letzterLauf(5, kennungen));
        QCOMPARE(zeilen(rueckblick.LView_Fragen),
                 (QStringList{"Falsch. Frage 2: Frage 2 Ihre Antwort: Antwort 2.4 Richtige Antwort: Antwort 2.2 "
                              "Erläuterung: Weil 2. (Quelle: Quelle 2)",
                              "Falsch. Frage 3: Frage 3 Ihre Antwort: Antwort 3.4 Richtige Antwort: Antwort 3.3",
                              "Richtig. Frage 1: Frage 1 Ihre Antwort, richtig: Antwort 1.1"}));

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
