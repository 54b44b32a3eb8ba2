#include "Bildknopf.h"
#include "Katalog.h"
#include "Laufstand.h"
#include "Meldung.h"
#include "Modal.h"
#include "TestOrdner.h"
#include "Textfeld.h"
#include "Twips.h"
#include "learn/frmLernen.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

// Loads a topic of n questions into the bank, as the main window does before learning.
void ladeThema(const TestOrdner& ordner, int n)
{
    ordner.schreibe("QXV.2", Themendatei::mitFragen("Lernthema", n));
    katalog().bildeDateiPfad();
    QCOMPARE(katalog().LadeThema(2), Katalog::Ladeergebnis::Geladen);
}

} // namespace

class tst_frmLernen : public QObject {
    Q_OBJECT
private slots:
    void init() { m_ordner = std::make_unique<TestOrdner>(); }
    void cleanup()
    {
        m_ordner.reset();
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // Pressing the step button walks question, answer, question, ... and closes the window
    // after the last answer: 2n presses for n questions.
    void durchlauf_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("one question") << 1;
        QTest::newRow("two questions") << 2;
        QTest::newRow("thirty questions") << 30;
    }
    void durchlauf()
    {
        QFETCH(int, n);
        ladeThema(*m_ordner, n);
        frmLernen fenster;
        QSignalSpy fertig(&fenster, &QDialog::accepted);
        fenster.show();
        QCOMPARE(fenster.bez_Titel->text(), QString("Lernthema"));
        for (int i = 1; i <= n; ++i) {
            QCOMPARE(fenster.bez_Nummer->text(), QStringLiteral("Frage: %1/%2").arg(i).arg(n));
            QCOMPARE(fenster.Text_Frage->text(), QStringLiteral("Frage %1").arg(i));
            QCOMPARE(fenster.Text_Antwort->text(), QString(" "));
            QCOMPARE(fenster.cmd_NFrage->text(), QString("&Weiter"));
            QTest::mouseClick(fenster.cmd_NFrage, Qt::LeftButton);

            const int loesung = (i - 1) % 4 + 1;
            QCOMPARE(fenster.Text_Antwort->text(), QStringLiteral("Antwort %1.%2").arg(i).arg(loesung));
            QCOMPARE(fenster.Text_Frage->text(), QStringLiteral("Frage %1").arg(i));
            QCOMPARE(fenster.bez_Nummer->text(), QStringLiteral("Frage: %1/%2").arg(i).arg(n));
            QCOMPARE(fenster.cmd_NFrage->text(), i < n ? QString("&Nächste Frage") : QString("&Zurück"));
            QCOMPARE(fertig.count(), 0);
            QTest::mouseClick(fenster.cmd_NFrage, Qt::LeftButton);
        }
        QCOMPARE(fertig.count(), 1);
        QVERIFY(!fenster.isVisible());
    }

    // The keyboard alone: Space on the step button, which has the focus from the start.
    void mitDerTastatur()
    {
        ladeThema(*m_ordner, 2);
        frmLernen fenster;
        fenster.show();
        QCOMPARE(fenster.focusWidget(), fenster.cmd_NFrage);
        QTest::keyClick(fenster.cmd_NFrage, Qt::Key_Space);
        QCOMPARE(fenster.cmd_NFrage->text(), QString("&Nächste Frage"));
        QTest::keyClick(fenster.cmd_NFrage, Qt::Key_Space);
        QCOMPARE(fenster.bez_Nummer->text(), QString("Frage: 2/2"));
        // Escape does nothing.
        QTest::keyClick(&fenster, Qt::Key_Escape);
        QVERIFY(fenster.isVisible());
    }

    void abbrechen_data()
    {
        QTest::addColumn<bool>("mitAntwort");
        QTest::addColumn<bool>("ja");
        QTest::newRow("question, Nein") << false << false;
        QTest::newRow("question, Ja") << false << true;
        QTest::newRow("answer, Nein") << true << false;
        QTest::newRow("answer, Ja") << true << true;
    }
    void abbrechen()
    {
        QFETCH(bool, mitAntwort);
        QFETCH(bool, ja);
        ladeThema(*m_ordner, 3);
        frmLernen fenster;
        fenster.show();
        if (mitAntwort)
            QTest::mouseClick(fenster.cmd_NFrage, Qt::LeftButton);
        const QString knopf = fenster.cmd_NFrage->text();
        const QString antwort = fenster.Text_Antwort->text();

        Meldung::setzeNaechsteAntwort(ja ? Meldung::Antwort::Ja : Meldung::Antwort::Nein);
        QTest::mouseClick(fenster.cmd_Abbrechen, Qt::LeftButton);
        QCOMPARE(Meldung::gefragt().size(), 1);
        QCOMPARE(Meldung::gefragt().at(0).text, QString("Möchten Sie das Lernen wirklich beenden ?"));
        QCOMPARE(Meldung::gefragt().at(0).titel, QString("Beenden ?"));
        QCOMPARE(Meldung::gefragt().at(0).knoepfe, Meldung::Knoepfe::JaNein);
        QCOMPARE(fenster.isVisible(), !ja);
        QCOMPARE(fenster.cmd_NFrage->text(), knopf);
        QCOMPARE(fenster.Text_Antwort->text(), antwort);
        QCOMPARE(fenster.bez_Nummer->text(), QString("Frage: 1/3"));
    }

    // A correct-answer number outside 1 to 4 shows the question and no answer text.
    void ungueltigeLoesung()
    {
        m_ordner->schreibe("QXV.1", Themendatei::kopf("T") + Themendatei::frage("Q", {"a", "b", "c", "d"}, 9) +
                                        Themendatei::frage("R", {"a", "b", "c", "d"}, 0));
        katalog().bildeDateiPfad();
        katalog().LadeThema(1);
        frmLernen fenster;
        fenster.show();
        QTest::mouseClick(fenster.cmd_NFrage, Qt::LeftButton);
        QCOMPARE(fenster.Text_Frage->text(), QString("Q"));
        QCOMPARE(fenster.Text_Antwort->text(), QString());
        QTest::mouseClick(fenster.cmd_NFrage, Qt::LeftButton);
        QTest::mouseClick(fenster.cmd_NFrage, Qt::LeftButton);
        QCOMPARE(fenster.Text_Antwort->text(), QString());
        QCOMPARE(fenster.cmd_NFrage->text(), QString("&Zurück"));
    }

    // "##" in an answer shows as one line break; the answer box cannot be typed into.
    void zeilenumbruchUndSchreibschutz()
    {
        m_ordner->schreibe("QXV.1", Themendatei::kopf("<i>T</i>") +
                                        Themendatei::frage("<b>Q</b>", {"MAYDAY##HIER IST", "b", "c", "d"}, 1));
        katalog().bildeDateiPfad();
        katalog().LadeThema(1);
        frmLernen fenster;
        fenster.show();
        QCOMPARE(fenster.bez_Titel->text(), QString("<i>T</i>"));
        QCOMPARE(fenster.bez_Titel->textFormat(), Qt::PlainText);
        QCOMPARE(fenster.Text_Frage->toPlainText(), QString("<b>Q</b>"));
        QTest::mouseClick(fenster.cmd_NFrage, Qt::LeftButton);
        QCOMPARE(fenster.Text_Antwort->toPlainText(), QString("MAYDAY\nHIER IST"));
        QCOMPARE(fenster.Text_Antwort->document()->blockCount(), 2);

        QTest::keyClicks(fenster.Text_Antwort, "xyz");
        QCOMPARE(fenster.Text_Antwort->toPlainText(), QString("MAYDAY\nHIER IST"));
        QTest::keyClicks(fenster.Text_Frage, "xyz");
        QVERIFY(fenster.Text_Frage->toPlainText().contains("xyz"));
        QCOMPARE(fenster.cmd_NFrage->text(), QString("&Zurück"));
    }

    // A word wider than the box wraps inside the word, in the question box as in the answer box,
    // so that none of it is cut off at the right edge.
    void langesWort()
    {
        const QString wort = QString("Funk").repeated(30);
        m_ordner->schreibe("QXV.1", Themendatei::kopf("T") + Themendatei::frage(wort, {wort, "b", "c", "d"}, 1));
        katalog().bildeDateiPfad();
        katalog().LadeThema(1);
        frmLernen fenster;
        fenster.show();
        QTest::mouseClick(fenster.cmd_NFrage, Qt::LeftButton);
        for (Textfeld* feld : {fenster.Text_Frage, fenster.Text_Antwort}) {
            QCOMPARE(feld->toPlainText(), wort);
            QVERIFY(feld->document()->size().width() <= feld->viewport()->width());
            QVERIFY(feld->document()->documentLayout()->documentSize().height() > 2 * feld->fontMetrics().height());
        }
    }

    // A second run begins again at question 1, in a new window.
    void zweiterLauf()
    {
        ladeThema(*m_ordner, 3);
        {
            frmLernen erster;
            QTest::mouseClick(erster.cmd_NFrage, Qt::LeftButton);
            QTest::mouseClick(erster.cmd_NFrage, Qt::LeftButton);
            QCOMPARE(erster.bez_Nummer->text(), QString("Frage: 2/3"));
        }
        frmLernen zweiter;
        QCOMPARE(zweiter.bez_Nummer->text(), QString("Frage: 1/3"));
        QCOMPARE(zweiter.cmd_NFrage->text(), QString("&Weiter"));
    }

    void aufbau()
    {
        ladeThema(*m_ordner, 1);
        frmLernen fenster;
        QCOMPARE(fenster.windowTitle(), QString("Lernen"));
        QCOMPARE(fenster.size(), QSize(Twips::px(7860), Twips::px(3675)));
        QCOMPARE(fenster.minimumSize(), fenster.maximumSize());
        QVERIFY(!(fenster.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(fenster.windowFlags() & Qt::WindowSystemMenuHint));
        QCOMPARE(fenster.cmd_NFrage->geometry(), Twips::rechteck(5760, 3120, 1335, 375));
        QCOMPARE(fenster.cmd_Abbrechen->geometry(), Twips::rechteck(7320, 3120, 375, 375));
        QCOMPARE(fenster.Text_Antwort->geometry(), Twips::rechteck(120, 1680, 7575, 1215));
        QCOMPARE(fenster.Text_Frage->geometry(), Twips::rechteck(120, 600, 7575, 855));
        QCOMPARE(fenster.bez_Nummer->geometry(), Twips::rechteck(120, 3120, 1575, 375));
        QCOMPARE(fenster.bez_Titel->geometry(), Twips::rechteck(120, 120, 7455, 375));
        QCOMPARE(fenster.cmd_Abbrechen->toolTip(), QString("Abfragen beenden"));
        QCOMPARE(fenster.cmd_Abbrechen->text(), QString());
        QCOMPARE(fenster.cmd_Abbrechen->focusPolicy(), Qt::NoFocus);
        QVERIFY(fenster.Text_Antwort->isReadOnly());
        QVERIFY(!fenster.Text_Frage->isReadOnly());
        QCOMPARE(fenster.Text_Frage->font().pointSizeF(), 9.0);
        QCOMPARE(fenster.Text_Frage->frameShape(), QFrame::NoFrame);
        QCOMPARE(fenster.Text_Antwort->palette().color(QPalette::Base),
                 fenster.Text_Antwort->palette().color(QPalette::ToolTipBase));
    }

private:
    std::unique_ptr<TestOrdner> m_ordner;
};

QTEST_MAIN(tst_frmLernen)
#include "tst_frmlernen.moc"
