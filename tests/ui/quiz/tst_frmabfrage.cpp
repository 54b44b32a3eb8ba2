#include "Bilder.h"
#include "Bildknopf.h"
#include "Katalog.h"
#include "Laufstand.h"
#include "Meldung.h"
#include "Modal.h"
#include "TestOrdner.h"
#include "Textfeld.h"
#include "Twips.h"
#include "User.h"
#include "main/frmMain.h"
#include "quiz/Bildfeld.h"
#include "quiz/frmAbfrage.h"
#include "quiz/frmAbfrageEnde.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <map>

namespace {

// The box whose answer is answer `nummer` of the file.
int kastenMit(const frmAbfrage& fenster, int nummer)
{
    for (int k = 1; k <= 4; ++k) {
        if (fenster.Img_Kasten[k]->Tag == QString::number(nummer))
            return k;
    }
    return 0;
}

QList<int> bilder(const frmAbfrage& fenster)
{
    QList<int> b;
    for (int k = 1; k <= 4; ++k)
        b << (fenster.Img_Kasten[k]->isVisibleTo(&fenster) ? fenster.Img_Kasten[k]->bild() : 0);
    return b;
}

QColor farbe(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

// Answers every question of the open quiz with the keyboard: the digit of the box holding
// the correct answer (or the wrong one after it), Space to check, Space again after the pause.
void beantworteAlle(frmAbfrage& fenster, int richtige)
{
    for (int i = 1; i <= katalog().AnzahlFragen; ++i) {
        const int loesung = katalog().Loesung(i);
        const int gewaehlt = i <= richtige ? loesung : loesung % 4 + 1;
        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key(Qt::Key_0 + kastenMit(fenster, gewaehlt)));
        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_Space);
        QTRY_VERIFY(fenster.cmd_NFrage->isEnabled());
        QCOMPARE(fenster.focusWidget(), fenster.cmd_NFrage);
        QTest::keyClick(fenster.cmd_NFrage, Qt::Key_Space);
    }
}

} // namespace

class tst_frmAbfrage : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_ordner = std::make_unique<TestOrdner>();
        frmAbfrage::pauseMs = 1;
        ladeThema(5);
    }
    void cleanup()
    {
        m_ordner.reset();
        frmAbfrage::pauseMs = 650;
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void geoeffnet()
    {
        frmAbfrage fenster;
        fenster.show();
        QCOMPARE(fenster.bez_FrRichtig->text(), QString("0"));
        QCOMPARE(fenster.bez_FrFalsch->text(), QString("0"));
        QCOMPARE(fenster.bez_FrInsgesamt->text(), QString("5"));
        QCOMPARE(fenster.bez_Titel->text(), QString("Quizthema"));
        QCOMPARE(fenster.bez_Frage->text(), QString("Frage 1"));
        QCOMPARE(fenster.bez_RichtigFalsch->text(), QString());
        QVERIFY(fenster.cmd_Kontrolle->isEnabled());
        QCOMPARE(fenster.focusWidget(), fenster.cmd_Kontrolle);
        QVERIFY(!fenster.cmd_NFrage->isEnabled());
        QCOMPARE(fenster.cmd_NFrage->text(), QString("&Nächste Frage"));
        QVERIFY(!fenster.timer_NFrage->isActive());
        QCOMPARE(bilder(fenster), (QList<int>{1, 1, 1, 1}));

        // Each box's tag names the file number of the answer beside it.
        QSet<QString> tags;
        for (int k = 1; k <= 4; ++k) {
            tags.insert(fenster.Img_Kasten[k]->Tag);
            QCOMPARE(fenster.Text_Antwort[k]->text(), "Antwort 1." + fenster.Img_Kasten[k]->Tag);
        }
        QCOMPARE(tags, (QSet<QString>{"1", "2", "3", "4"}));
    }

    void markieren()
    {
        frmAbfrage fenster;
        fenster.show();
        QTest::mouseClick(fenster.Img_Kasten[2], Qt::LeftButton);
        QCOMPARE(bilder(fenster), (QList<int>{1, 2, 1, 1}));
        QTest::mouseClick(fenster.Img_Kasten[4], Qt::LeftButton);
        QCOMPARE(bilder(fenster), (QList<int>{1, 1, 1, 2}));
        QCOMPARE(fenster.Auswahl, 4);
        QCOMPARE(fenster.Img_Kasten[4]->accessibleName(), QString("Kästchen 4"));
        QCOMPARE(fenster.Img_Kasten[4]->accessibleDescription(), QString("angekreuzt"));
        QCOMPARE(fenster.Img_Kasten[2]->accessibleDescription(), QString("nicht angekreuzt"));
        QTest::mouseClick(fenster.Img_Kasten[4], Qt::LeftButton);
        QCOMPARE(fenster.Auswahl, 4);

        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_3);
        QCOMPARE(bilder(fenster), (QList<int>{1, 1, 2, 1}));
        for (Qt::Key andere : {Qt::Key_5, Qt::Key_0, Qt::Key_A, Qt::Key_Tab})
            QTest::keyClick(fenster.cmd_Kontrolle, andere);
        QCOMPARE(fenster.Auswahl, 3);
        // Digits with Ctrl or Alt are other commands; those of the number pad are digits.
        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_1, Qt::ControlModifier);
        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_2, Qt::AltModifier);
        QCOMPARE(fenster.Auswahl, 3);
        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_4, Qt::KeypadModifier);
        QCOMPARE(fenster.Auswahl, 4);
        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_3);
        QVERIFY(fenster.cmd_Kontrolle->isEnabled());
        // Only the boxes mark: a click on an answer text does not.
        QTest::mouseClick(fenster.Text_Antwort[1]->viewport(), Qt::LeftButton);
        QCOMPARE(fenster.Auswahl, 3);
    }

    void kontrolleOhneAuswahl()
    {
        frmAbfrage fenster;
        fenster.show();
        QTest::mouseClick(fenster.cmd_Kontrolle, Qt::LeftButton);
        QTest::mouseClick(fenster.cmd_Kontrolle, Qt::LeftButton);
        QCOMPARE(Meldung::gefragt().size(), 2);
        QCOMPARE(Meldung::gefragt().at(1).text, QString("Sie wollen es noch nicht einmal versuchen ?"));
        QCOMPARE(Meldung::gefragt().at(1).titel, QString("Keine Auswahl "));
        QCOMPARE(Meldung::gefragt().at(1).knoepfe, Meldung::Knoepfe::Ok);
        QVERIFY(fenster.cmd_Kontrolle->isEnabled());
        QVERIFY(!fenster.timer_NFrage->isActive());
        QCOMPARE(fenster.bez_FrFalsch->text(), QString("0"));
    }

    void urteil_data()
    {
        QTest::addColumn<bool>("richtig");
        QTest::newRow("right") << true;
        QTest::newRow("wrong") << false;
    }
    void urteil()
    {
        QFETCH(bool, richtig);
        frmAbfrage fenster;
        fenster.show();
        const int loesung = katalog().Loesung(1);
        const int richtigerKasten = kastenMit(fenster, loesung);
        const int gewaehlt = richtig ? richtigerKasten : kastenMit(fenster, loesung % 4 + 1);
        QTest::mouseClick(fenster.Img_Kasten[gewaehlt], Qt::LeftButton);
        QTest::mouseClick(fenster.cmd_Kontrolle, Qt::LeftButton);

        QList<int> erwartet{0, 0, 0, 0};
        if (richtig) {
            erwartet[gewaehlt - 1] = 3;
            QCOMPARE(fenster.bez_RichtigFalsch->text(), QString("Richtig !"));
            QCOMPARE(farbe(fenster.bez_RichtigFalsch), QColor(0, 255, 0));
        } else {
            erwartet[gewaehlt - 1] = 5;
            erwartet[richtigerKasten - 1] = 6;
            QCOMPARE(fenster.bez_RichtigFalsch->text(), QString("Falsch !"));
            QCOMPARE(farbe(fenster.bez_RichtigFalsch), QColor(255, 0, 0));
        }
        QCOMPARE(bilder(fenster), erwartet);
        QCOMPARE(fenster.Img_Kasten[gewaehlt]->accessibleDescription(),
                 QString(richtig ? "gewählt und richtig" : "gewählt und falsch"));
        if (!richtig)
            QCOMPARE(fenster.Img_Kasten[richtigerKasten]->accessibleDescription(), QString("die richtige Antwort"));
        QCOMPARE(fenster.bez_FrFalsch->accessibleName(),
                 QString(richtig ? "Falsche Antworten: 0" : "Falsche Antworten: 1"));
        QCOMPARE(fenster.bez_FrRichtig->text(), QString(richtig ? "1" : "0"));
        QCOMPARE(fenster.bez_FrFalsch->text(), QString(richtig ? "0" : "1"));
        QVERIFY(!fenster.cmd_Kontrolle->isEnabled());
        QVERIFY(!fenster.cmd_NFrage->isEnabled());
        QCOMPARE(fenster.cmd_NFrage->text(), QString("&Nächste Frage"));
        // The answer texts stay; the boxes ignore clicks now.
        QCOMPARE(fenster.Text_Antwort[gewaehlt]->text(), "Antwort 1." + fenster.Img_Kasten[gewaehlt]->Tag);
        QTest::mouseClick(fenster.Img_Kasten[gewaehlt], Qt::LeftButton);
        QCOMPARE(bilder(fenster), erwartet);

        QTRY_VERIFY(fenster.cmd_NFrage->isEnabled());
        QTest::mouseClick(fenster.cmd_NFrage, Qt::LeftButton);
        QCOMPARE(fenster.bez_Frage->text(), QString("Frage 2"));
        QCOMPARE(bilder(fenster), (QList<int>{1, 1, 1, 1}));
        QCOMPARE(fenster.bez_RichtigFalsch->text(), QString());
        QVERIFY(fenster.cmd_Kontrolle->isEnabled());
        QCOMPARE(fenster.focusWidget(), fenster.cmd_Kontrolle);
        QVERIFY(!fenster.cmd_NFrage->isEnabled());
    }

    // A correct-answer number outside 1 to 4 matches no box: wrong, and no arrow.
    void ungueltigeLoesung()
    {
        m_ordner->schreibe("QXV.5", Themendatei::kopf("T") + Themendatei::frage("F", {"a", "b", "c", "d"}, 7));
        katalog().LadeThema(5);
        frmAbfrage fenster;
        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_1);
        QTest::mouseClick(fenster.cmd_Kontrolle, Qt::LeftButton);
        QCOMPARE(bilder(fenster), (QList<int>{5, 0, 0, 0}));
        QCOMPARE(fenster.bez_RichtigFalsch->text(), QString("Falsch !"));
        QCOMPARE(fenster.cmd_NFrage->text(), QString("Ergebnis ..."));
    }

    // The real pause: the next button waits 650 ms, then takes the focus.
    void pause()
    {
        frmAbfrage::pauseMs = 650;
        frmAbfrage fenster;
        fenster.show();
        QCOMPARE(fenster.timer_NFrage->interval(), 650);
        QCOMPARE(fenster.timer_NFrage->timerType(), Qt::PreciseTimer);
        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_2);
        QElapsedTimer uhr;
        uhr.start();
        QTest::mouseClick(fenster.cmd_Kontrolle, Qt::LeftButton);
        QTest::mouseClick(fenster.cmd_NFrage, Qt::LeftButton);
        QCOMPARE(fenster.bez_Frage->text(), QString("Frage 1"));
        QSignalSpy abgelaufen(fenster.timer_NFrage, &QTimer::timeout);
        QVERIFY(abgelaufen.wait(5000));
        QVERIFY(uhr.elapsed() >= 650);
        QVERIFY(fenster.cmd_NFrage->isEnabled());
        QCOMPARE(fenster.focusWidget(), fenster.cmd_NFrage);
    }

    void letzteFrage()
    {
        m_ordner->schreibe("QXV.5", Themendatei::mitFragen("Eine", 1));
        katalog().LadeThema(5);
        frmAbfrage fenster;
        fenster.show();
        QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_1);
        QTest::mouseClick(fenster.cmd_Kontrolle, Qt::LeftButton);
        QCOMPARE(fenster.cmd_NFrage->text(), QString("Ergebnis ..."));
        QVERIFY(!fenster.cmd_NFrage->isEnabled());
        QTRY_VERIFY(fenster.cmd_NFrage->isEnabled());

        QSignalSpy fertig(&fenster, &QDialog::accepted);
        BeimNaechstenModal ergebnis([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); }, "frmAbfrageEnde");
        QTest::mouseClick(fenster.cmd_NFrage, Qt::LeftButton);
        QVERIFY(ergebnis.lief());
        QCOMPARE(ergebnis.titel(), QString("Ergebnis"));
        QCOMPARE(fertig.count(), 1);
        QVERIFY(!fenster.isVisible());
    }

    void abbrechen_data()
    {
        QTest::addColumn<bool>("waehrendPause");
        QTest::addColumn<bool>("ja");
        QTest::newRow("choosing, Nein") << false << false;
        QTest::newRow("choosing, Ja") << false << true;
        QTest::newRow("pause, Nein") << true << false;
        QTest::newRow("pause, Ja") << true << true;
    }
    void abbrechen()
    {
        QFETCH(bool, waehrendPause);
        QFETCH(bool, ja);
        frmAbfrage::pauseMs = 200;
        Benutzer().setzeErgebnis(5, 3);
        frmAbfrage fenster;
        QSignalSpy abgebrochen(&fenster, &QDialog::rejected);
        fenster.show();
        if (waehrendPause) {
            QTest::keyClick(fenster.cmd_Kontrolle, Qt::Key_1);
            QTest::mouseClick(fenster.cmd_Kontrolle, Qt::LeftButton);
        }
        Meldung::setzeNaechsteAntwort(ja ? Meldung::Antwort::Ja : Meldung::Antwort::Nein);
        QTest::mouseClick(fenster.cmd_Abbrechen, Qt::LeftButton);
        QCOMPARE(Meldung::gefragt().size(), 1);
        QCOMPARE(Meldung::gefragt().at(0).text, QString("Möchten Sie die Abfrage wirklich beenden ?"));
        QCOMPARE(Meldung::gefragt().at(0).titel, QString("Beenden ?"));
        QCOMPARE(Meldung::gefragt().at(0).knoepfe, Meldung::Knoepfe::JaNein);
        QCOMPARE(abgebrochen.count(), ja ? 1 : 0);
        QCOMPARE(fenster.isVisible(), !ja);
        QCOMPARE(Benutzer().Ergebnis(5), qint16(3));
        if (waehrendPause && !ja) {
            QVERIFY(fenster.timer_NFrage->isActive());
            QTRY_VERIFY(fenster.cmd_NFrage->isEnabled());
        }
    }

    // Escape does nothing; a close from the window manager ends the run without a question.
    void nurUeberDieKnoepfe()
    {
        frmAbfrage fenster;
        QSignalSpy abgebrochen(&fenster, &QDialog::rejected);
        fenster.show();
        QTest::keyClick(&fenster, Qt::Key_Escape);
        QVERIFY(fenster.isVisible());
        fenster.close();
        QCOMPARE(abgebrochen.count(), 1);
        QVERIFY(Meldung::gefragt().isEmpty());
    }

    // Every one of the 24 orders of four answers comes up about equally often.
    void alleReihenfolgenGleichOft()
    {
        frmAbfrage fenster;
        std::map<QString, int> haeufigkeit;
        const int runden = 24000;
        for (int i = 0; i < runden; ++i) {
            fenster.ZeigeFrage();
            QString reihenfolge;
            for (int k = 1; k <= 4; ++k)
                reihenfolge += fenster.Img_Kasten[k]->Tag;
            ++haeufigkeit[reihenfolge];
        }
        QCOMPARE(int(haeufigkeit.size()), 24);
        // 1000 expected per order; a fair shuffle stays within 15 % with overwhelming odds.
        for (const auto& [reihenfolge, anzahl] : haeufigkeit)
            QVERIFY2(anzahl > 850 && anzahl < 1150, qPrintable(reihenfolge + ": " + QString::number(anzahl)));
    }

    void bewertung_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("richtig");
        QTest::addColumn<int>("falsch");
        QTest::addColumn<int>("note");
        QTest::newRow("30 of 30") << 30 << 30 << 100 << 0 << 4;
        QTest::newRow("29 of 30") << 30 << 29 << 96 << 3 << 3;
        QTest::newRow("24 of 30") << 30 << 24 << 80 << 20 << 3;
        QTest::newRow("23 of 30") << 30 << 23 << 76 << 23 << 2;
        QTest::newRow("0 of 30") << 30 << 0 << 0 << 100 << 2;
        QTest::newRow("4 of 5") << 5 << 4 << 80 << 20 << 3;
        QTest::newRow("1 of 3") << 3 << 1 << 33 << 66 << 2;
        for (int n = 1; n <= 30; ++n)
            QTest::addRow("all %d right", n) << n << n << 100 << 0 << 4;
    }
    void bewertung()
    {
        QFETCH(int, n);
        QFETCH(int, r);
        QFETCH(int, richtig);
        QFETCH(int, falsch);
        QFETCH(int, note);
        const auto b = frmAbfrageEnde::bewerte(n, r);
        QCOMPARE(b.prozentRichtig, richtig);
        QCOMPARE(b.prozentFalsch, falsch);
        QCOMPARE(int(b.note), note);
    }

    void ergebnisdialog()
    {
        m_ordner->schreibe("QXV.5", Themendatei::mitFragen("Notverkehr", 30));
        katalog().LadeThema(5);
        Benutzer().setzeErgebnis(5, 4);
        lauf().AnzRichtig = 10;
        lauf().AnzFalsch = 20;
        frmAbfrageEnde dialog;
        QCOMPARE(Benutzer().Ergebnis(5), qint16(2));
        QCOMPARE(dialog.Label2->text(), QString("Sie haben 30 Fragen im Themengebiet:  Notverkehr  beantwortet."));
        QCOMPARE(dialog.bez_insgesamt->text(), QString("30"));
        QCOMPARE(dialog.bez_richtig->text(), QString("10"));
        QCOMPARE(dialog.bez_falsch->text(), QString("20"));
        QCOMPARE(dialog.Label3->text(), QString("100 %"));
        QCOMPARE(dialog.Label4->text(), QString("33 %"));
        QCOMPARE(dialog.Label5->text(), QString("66 %"));
        QCOMPARE(dialog.Label[0]->text(), QString("Insgesamt:"));
        QCOMPARE(dialog.Label[1]->text(), QString("Richtig:"));
        QCOMPARE(dialog.Label[2]->text(), QString("Falsch:"));
        QCOMPARE(dialog.Label1->text(), QString("Ergebnis"));
        QCOMPARE(farbe(dialog.Label4), QColor(0, 192, 0));
        QCOMPARE(farbe(dialog.bez_falsch), QColor(255, 0, 0));

        // Left through "&Ok" only: Escape does nothing, Enter and Alt+O press it.
        QSignalSpy ok(&dialog, &QDialog::accepted);
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key_Return);
        QCOMPARE(ok.count(), 1);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(&dialog, Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(ok.count(), 2);
    }

    // A whole run from the main window, with the keyboard: the grade is stored, in USER.QXV
    // already while the result shows, the list shows its icon with the topic checked again.
    void ganzerLauf_data()
    {
        QTest::addColumn<int>("richtige");
        QTest::addColumn<int>("note");
        QTest::newRow("all right") << 5 << 4;
        QTest::newRow("four of five") << 4 << 3;
        QTest::newRow("one of five") << 1 << 2;
    }
    void ganzerLauf()
    {
        QFETCH(int, richtige);
        QFETCH(int, note);
        m_ordner->schreibeAlleThemen(2);
        m_ordner->schreibe("QXV.5", Themendatei::mitFragen("Quizthema", 5));
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
        m_ordner->schreibe("TIPPS.QXV", "\"Kontextmenue\"\r\n"); // a learner who has had the first quiz's hint
        auto haupt = std::make_unique<frmMain>();
        haupt->show();
        haupt->LView->item(4)->setCheckState(Qt::Checked);

        QString satz;
        QByteArray imErgebnis;
        BeimNaechstenModal abfrage([&](QWidget* modal) {
            auto* fenster = qobject_cast<frmAbfrage*>(modal);
            QVERIFY(fenster);
            BeimNaechstenModal ergebnis(
                [&](QWidget* dialog) {
                    satz = qobject_cast<frmAbfrageEnde*>(dialog)->Label2->text();
                    imErgebnis = m_ordner->lies("USER.QXV");
                    QTest::keyClick(dialog, Qt::Key_Return);
                },
                "frmAbfrageEnde");
            beantworteAlle(*fenster, richtige);
            QVERIFY(ergebnis.lief());
        });
        QTest::mouseClick(haupt->Button[1], Qt::LeftButton);
        QVERIFY(abfrage.lief());
        QCOMPARE(satz, QString("Sie haben 5 Fragen im Themengebiet:  Quizthema  beantwortet."));
        QCOMPARE(lauf().AnzRichtig, qint16(richtige));
        QCOMPARE(lauf().AnzFalsch, qint16(5 - richtige));

        QCOMPARE(Benutzer().Ergebnis(5), qint16(note));
        const QListWidgetItem* eintrag = haupt->LView->item(4);
        QCOMPARE(eintrag->checkState(), Qt::Checked);
        QCOMPARE(eintrag->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32),
                 Bilder::wertung(note).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32));
        for (int i = 0; i < 11; ++i)
            QCOMPARE(haupt->LView->item(i)->checkState(), i == 4 ? Qt::Checked : Qt::Unchecked);
        QList<int> noten(11, 1);
        noten[4] = note;
        QCOMPARE(imErgebnis, userDatei(noten));
        haupt->close();
        QCOMPARE(m_ordner->lies("USER.QXV"), userDatei(noten));
        QVERIFY(Meldung::gefragt().isEmpty());
    }

    // A save after a result that fails says so once, however many results follow and when the
    // window closes, and leaves the old file alone; a save that works again starts afresh.
    void speichernNachErgebnisScheitert()
    {
        m_ordner->schreibeAlleThemen(2);
        m_ordner->schreibe("TIPPS.QXV", "\"Kontextmenue\"\r\n"); // a learner who has had the first quiz's hint
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
        auto haupt = std::make_unique<frmMain>();
        haupt->show();
        QVERIFY(QFile::remove(m_ordner->datei("USER.QXV")));
        QVERIFY(QDir(m_ordner->pfad()).mkdir("USER.QXV"));
        const auto quiz = [&](int thema) {
            haupt->LView->item(thema - 1)->setCheckState(Qt::Checked);
            BeimNaechstenModal abfrage([&](QWidget* modal) {
                BeimNaechstenModal ergebnis([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Return); },
                                            "frmAbfrageEnde");
                beantworteAlle(*qobject_cast<frmAbfrage*>(modal), 2);
                QVERIFY(ergebnis.lief());
            });
            QTest::mouseClick(haupt->Button[1], Qt::LeftButton);
            QVERIFY(abfrage.lief());
        };
        quiz(1);
        quiz(2);
        QCOMPARE(Meldung::gefragt().size(), 1);
        QCOMPARE(Meldung::gefragt().at(0).text, QString("Benutzerwertung speichern ist nicht möglich !"));
        QCOMPARE(Meldung::gefragt().at(0).titel, QString("Speichern"));
        haupt->close();
        QCOMPARE(Meldung::gefragt().size(), 1);
        QVERIFY(QFileInfo(m_ordner->datei("USER.QXV")).isDir());

        QVERIFY(QDir(m_ordner->pfad()).rmdir("USER.QXV"));
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
        haupt = std::make_unique<frmMain>();
        haupt->show();
        quiz(3);
        QVERIFY(QDir(m_ordner->pfad()).mkdir("Sperre"));
        QVERIFY(QFile::rename(m_ordner->datei("USER.QXV"), m_ordner->datei("Sperre/USER.QXV")));
        QVERIFY(QDir(m_ordner->pfad()).mkdir("USER.QXV"));
        quiz(4);
        QCOMPARE(Meldung::gefragt().size(), 2);
        haupt->close();
    }

    // A cancelled run still rebuilds the list and checks the topic again; the grade stays.
    void abgebrochenerLaufVomHauptfenster()
    {
        m_ordner->schreibeAlleThemen(2);
        m_ordner->schreibe("USER.QXV", userDatei({1, 1, 1, 1, 3, 1, 1, 1, 1, 1, 1}));
        frmMain haupt;
        haupt.show();
        haupt.LView->item(4)->setCheckState(Qt::Checked);
        BeimNaechstenModal abfrage([](QWidget* modal) {
            Meldung::setzeNaechsteAntwort(Meldung::Antwort::Ja);
            QTest::mouseClick(modal->findChild<QPushButton*>("cmd_Abbrechen"), Qt::LeftButton);
        });
        QTest::mouseClick(haupt.Button[1], Qt::LeftButton);
        QVERIFY(abfrage.lief());
        QCOMPARE(haupt.LView->item(4)->checkState(), Qt::Checked);
        QCOMPARE(Benutzer().Ergebnis(5), qint16(3));
        haupt.close();
    }

    // A word wider than the question box wraps inside the word instead of running off its edge.
    void langesWort()
    {
        const QString wort = QString("Seefunk").repeated(18).left(120);
        m_ordner->schreibe("QXV.5", Themendatei::kopf("T") + Themendatei::frage(wort, {wort, "b", "c", "d"}, 1));
        katalog().bildeDateiPfad();
        katalog().LadeThema(5);
        frmAbfrage fenster;
        fenster.show();
        QList<Textfeld*> felder{fenster.bez_Frage};
        for (int n = 1; n <= 4; ++n)
            felder << fenster.Text_Antwort[n];
        for (Textfeld* feld : felder)
            QVERIFY(feld->document()->size().width() <= feld->viewport()->width());
    }

    void aufbau()
    {
        frmAbfrage fenster;
        QCOMPARE(fenster.windowTitle(), QString("Kontrolle"));
        QCOMPARE(fenster.size(), QSize(Twips::px(7905), Twips::px(6150)));
        QCOMPARE(fenster.minimumSize(), fenster.maximumSize());
        QVERIFY(!(fenster.windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(fenster.bez_Frage->geometry(), Twips::rechteck(240, 600, 7575, 855));
        QCOMPARE(fenster.cmd_Kontrolle->geometry(), Twips::rechteck(4080, 5520, 1335, 375));
        QCOMPARE(fenster.cmd_Abbrechen->geometry(), Twips::rechteck(7080, 5520, 375, 375));
        QCOMPARE(fenster.cmd_NFrage->geometry(), Twips::rechteck(5520, 5520, 1335, 375));
        QCOMPARE(fenster.bez_FrInsgesamt->geometry(), Twips::rechteck(1320, 5520, 375, 375));
        QCOMPARE(fenster.bez_FrFalsch->geometry(), Twips::rechteck(960, 5520, 375, 375));
        QCOMPARE(fenster.bez_FrRichtig->geometry(), Twips::rechteck(600, 5520, 375, 375));
        QCOMPARE(fenster.bez_RichtigFalsch->geometry(), Twips::rechteck(1920, 5520, 1695, 495));
        QCOMPARE(fenster.bez_Titel->geometry(), Twips::rechteck(240, 120, 7455, 375));
        for (int n = 1; n <= 4; ++n) {
            QCOMPARE(fenster.Img_Kasten[n]->geometry(), Twips::rechteck(480, 1680 + (n - 1) * 960, 675, 675));
            QCOMPARE(fenster.Text_Antwort[n]->geometry(), Twips::rechteck(1320, 1680 + (n - 1) * 960, 6135, 735));
            QVERIFY(fenster.Text_Antwort[n]->isReadOnly());
        }
        QVERIFY(!fenster.bez_Frage->isReadOnly());
        QCOMPARE(fenster.bez_FrRichtig->toolTip(), QString("Richtige Antworten"));
        QCOMPARE(fenster.bez_FrFalsch->toolTip(), QString("Falsche Antworten"));
        QCOMPARE(fenster.bez_FrInsgesamt->toolTip(), QString("Fragen Insgesamt"));
        QCOMPARE(fenster.cmd_Abbrechen->toolTip(), QString("Abfragen beenden"));
        // What only colours and pictures say has German words for screen readers too.
        QCOMPARE(fenster.cmd_Abbrechen->accessibleName(), QString("Abfragen beenden"));
        QVERIFY(!fenster.cmd_Abbrechen->accessibleDescription().isEmpty());
        for (QLabel* zaehler : {fenster.bez_FrRichtig, fenster.bez_FrFalsch, fenster.bez_FrInsgesamt})
            QVERIFY(!zaehler->accessibleDescription().isEmpty());
        QCOMPARE(fenster.bez_FrInsgesamt->accessibleName(), QString("Fragen Insgesamt: 5"));
        QVERIFY(!fenster.bez_RichtigFalsch->accessibleDescription().isEmpty());
        QCOMPARE(farbe(fenster.bez_FrRichtig), QColor(0, 128, 0));
        QCOMPARE(farbe(fenster.bez_FrFalsch), QColor(255, 0, 0));
        QVERIFY(!(fenster.cmd_Abbrechen->focusPolicy() & Qt::TabFocus));
        QCOMPARE(Bilder::kasten(1).availableSizes().value(0), QSize(45, 45));

        frmAbfrageEnde dialog;
        QCOMPARE(dialog.size(), QSize(Twips::px(4815), Twips::px(4590)));
        QCOMPARE(dialog.cmd_OK->geometry(), Twips::rechteck(1680, 3840, 1455, 495));
        QVERIFY(dialog.cmd_OK->isDefault());
        QCOMPARE(dialog.Label2->geometry(), Twips::rechteck(60, 960, 4695, 975));
        QCOMPARE(dialog.Label1->geometry(), Twips::rechteck(240, 120, 4335, 615));
        // The three rows line up.
        const std::array<int, 3> oben{2160, 2640, 3120};
        const std::array<QLabel*, 3> anzahl{dialog.bez_insgesamt, dialog.bez_richtig, dialog.bez_falsch};
        const std::array<QLabel*, 3> prozent{dialog.Label3, dialog.Label4, dialog.Label5};
        for (int z = 0; z < 3; ++z) {
            QCOMPARE(dialog.Label[z]->geometry(), Twips::rechteck(360, oben[z], 1095, 255));
            QCOMPARE(anzahl[z]->geometry(), Twips::rechteck(1920, oben[z], 975, 255));
            QCOMPARE(prozent[z]->geometry(), Twips::rechteck(3360, oben[z], 855, 255));
            QVERIFY(anzahl[z]->alignment() & Qt::AlignRight);
        }
    }

private:
    void ladeThema(int n)
    {
        m_ordner->schreibe("QXV.5", Themendatei::mitFragen("Quizthema", n));
        katalog().bildeDateiPfad();
        QCOMPARE(katalog().LadeThema(5), Katalog::Ladeergebnis::Geladen);
    }

    std::unique_ptr<TestOrdner> m_ordner;
};

QTEST_MAIN(tst_frmAbfrage)
#include "tst_frmabfrage.moc"
