#include "Bilder.h"
#include "Katalog.h"
#include "Meldung.h"
#include "Modal.h"
#include "TestOrdner.h"
#include "Tinte.h"
#include "Twips.h"
#include "User.h"
#include "about/frmAbout.h"
#include "main/frmMain.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

namespace {

QImage bild(const QIcon& icon) { return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32); }

QList<int> angehakt(const QListWidget* liste)
{
    QList<int> themen;
    for (int i = 0; i < liste->count(); ++i) {
        if (liste->item(i)->checkState() == Qt::Checked)
            themen << i + 1;
    }
    return themen;
}

// The user presses Space on a topic, as on the keyboard.
void leertaste(QListWidget* liste, int thema)
{
    liste->setCurrentRow(thema - 1);
    QTest::keyClick(liste, Qt::Key_Space);
}

// The user clicks the check box in front of a topic.
void klickeKaestchen(QListWidget* liste, int thema)
{
    QStyleOptionViewItem option;
    option.initFrom(liste);
    option.rect = liste->visualItemRect(liste->item(thema - 1));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay |
                      QStyleOptionViewItem::HasDecoration;
    option.decorationSize = liste->iconSize();
    option.text = liste->item(thema - 1)->text();
    const QRect kaestchen = liste->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, liste);
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, kaestchen.center());
}

// Shows the window and makes it the active one, so that access keys and Tab reach it.
void zeigeAktiv(QWidget* fenster)
{
    fenster->show();
    QApplication::setActiveWindow(fenster);
    QVERIFY(QTest::qWaitForWindowActive(fenster));
}

} // namespace

class tst_frmMain : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_ordner = std::make_unique<TestOrdner>();
        m_ordner->schreibeAlleThemen();
    }
    void cleanup()
    {
        m_ordner.reset();
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void ersterStart()
    {
        bool hauptfensterSichtbar = true;
        BeimNaechstenModal info([&](QWidget* modal) {
            hauptfensterSichtbar = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                hauptfensterSichtbar = hauptfensterSichtbar || (w->inherits("frmMain") && w->isVisible());
            QTest::keyClick(modal, Qt::Key_Return);
        });
        auto fenster = std::make_unique<frmMain>();
        QVERIFY(info.lief());
        QCOMPARE(info.titel(), QString("Info zu Selvarot I/II - Theorie"));
        QVERIFY(!hauptfensterSichtbar);

        fenster->show();
        QCOMPARE(fenster->LView->count(), 11);
        for (int i = 0; i < 11; ++i)
            QCOMPARE(bild(fenster->LView->item(i)->icon()), bild(Bilder::wertung(1)));
        QCOMPARE(angehakt(fenster->LView), QList<int>{});

        fenster->close();
        QCOMPARE(m_ordner->lies("USER.QXV"), userDatei(QList<int>(11, 1)));
        QVERIFY(Meldung::gefragt().isEmpty());
    }

    void listeMitNotenUndTiteln()
    {
        m_ordner->schreibe("USER.QXV", userDatei({1, 4, 2, 3, 0, 9, 1, 1, 1, 1, -2}));
        m_ordner->schreibe("QXV.3", Themendatei::kopf("<b>Funk</b> & *Titel*", 0));
        QFile::remove(m_ordner->datei("QXV.5"));
        m_ordner->schreibe("QXV.6", QByteArray());
        BeimNaechstenModal keinFenster([](QWidget* modal) { modal->close(); });
        frmMain fenster;
        QCoreApplication::processEvents();
        QVERIFY(!keinFenster.lief());

        const QListWidget* liste = fenster.LView;
        QCOMPARE(liste->count(), 11);
        QCOMPARE(liste->item(0)->text(), QString("Thema 1"));
        QCOMPARE(liste->item(2)->text(), QString("<b>Funk</b> & *Titel*"));
        QCOMPARE(liste->item(4)->text(), QString("(Themendatei QXV.5 fehlt)"));
        QCOMPARE(liste->item(5)->text(), QString("(Themendatei QXV.6 ist leer)"));
        QCOMPARE(liste->item(10)->text(), QString("Thema 11"));
        QCOMPARE(bild(liste->item(0)->icon()), bild(Bilder::wertung(1)));
        QCOMPARE(bild(liste->item(1)->icon()), bild(Bilder::wertung(4)));
        QCOMPARE(bild(liste->item(2)->icon()), bild(Bilder::wertung(2)));
        QCOMPARE(bild(liste->item(3)->icon()), bild(Bilder::wertung(3)));
        // Grades no quiz writes show no picture, and are written back as they were.
        QCOMPARE(bild(liste->item(4)->icon()), bild(Bilder::wertung(0)));
        // Screen readers learn what each icon shows.
        QCOMPARE(liste->item(1)->data(Qt::AccessibleDescriptionRole).toString(),
                 QString("Letzte Abfrage: mindestens 99 % richtig"));
        QCOMPARE(liste->item(0)->data(Qt::AccessibleDescriptionRole).toString(), QString("Noch nicht abgefragt"));
        QCOMPARE(liste->item(4)->data(Qt::AccessibleDescriptionRole).toString(), QString("Ohne Wertung"));
        fenster.close();
        QCOMPARE(m_ordner->lies("USER.QXV"), userDatei({1, 4, 2, 3, 0, 9, 1, 1, 1, 1, -2}));
    }

    void immerGenauEinHaken()
    {
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
        frmMain fenster;
        fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenster));

        leertaste(fenster.LView, 3);
        QCOMPARE(angehakt(fenster.LView), QList<int>{3});
        leertaste(fenster.LView, 7);
        QCOMPARE(angehakt(fenster.LView), QList<int>{7});
        leertaste(fenster.LView, 7);
        QCOMPARE(angehakt(fenster.LView), QList<int>{7});
        klickeKaestchen(fenster.LView, 2);
        QCOMPARE(angehakt(fenster.LView), QList<int>{2});
        klickeKaestchen(fenster.LView, 2);
        QCOMPARE(angehakt(fenster.LView), QList<int>{2});
        // The list never sorts: a topic's place is its number.
        QCOMPARE(fenster.LView->item(1)->text(), QString("Thema 2"));
        fenster.close();
    }

    void startOhneHaken_data()
    {
        QTest::addColumn<int>("knopf");
        QTest::newRow("Lernen") << 0;
        QTest::newRow("Abfragen") << 1;
    }
    void startOhneHaken()
    {
        QFETCH(int, knopf);
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
        frmMain fenster;
        fenster.show();
        QTest::mouseClick(fenster.Button[knopf], Qt::LeftButton);
        QCOMPARE(Meldung::gefragt().size(), 1);
        QCOMPARE(Meldung::gefragt().at(0).text, QString("Wählen Sie zuerst ein Thema aus !"));
        QCOMPARE(Meldung::gefragt().at(0).titel, QString("Kein Thema ausgewählt"));
        QCOMPARE(Meldung::gefragt().at(0).knoepfe, Meldung::Knoepfe::Ok);
        QCOMPARE(katalog().ThemaNr, qint16(0));
        fenster.close();
    }

    void startLaedtDasThema_data()
    {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("questions") << Themendatei::mitFragen("Vier", 4) << QString();
        QTest::newRow("missing file") << QByteArray("fehlt") << QString("fehlt oder kann nicht gelesen werden !");
        QTest::newRow("no questions") << Themendatei::kopf("Leer", 0) << QString("enthält keine Fragen !");
    }
    void startLaedtDasThema()
    {
        QFETCH(QByteArray, datei);
        QFETCH(QString, meldung);
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
        if (datei == "fehlt")
            QFile::remove(m_ordner->datei("QXV.4"));
        else
            m_ordner->schreibe("QXV.4", datei);
        frmMain fenster;
        fenster.show();
        leertaste(fenster.LView, 4);

        // Learning changes nothing in the list: the topic stays checked.
        BeimNaechstenModal fenster1([](QWidget* modal) { modal->hide(); });
        QTest::mouseClick(fenster.Button[0], Qt::LeftButton);
        QCOMPARE(angehakt(fenster.LView), QList<int>{4});
        if (meldung.isEmpty()) {
            QVERIFY(Meldung::gefragt().isEmpty());
            QCOMPARE(katalog().ThemaNr, qint16(4));
            QCOMPARE(katalog().AnzahlFragen, qint16(4));
            QCOMPARE(katalog().Thema, QString("Vier"));
        } else {
            QCOMPARE(Meldung::gefragt().size(), 1);
            QVERIFY(Meldung::gefragt().at(0).text.endsWith(meldung));
            QVERIFY(Meldung::gefragt().at(0).text.contains(QDir::toNativeSeparators(m_ordner->datei("QXV.4"))));
            QVERIFY(!fenster1.lief());
        }
        fenster.close();
    }

    void beenden_data()
    {
        QTest::addColumn<bool>("ja");
        QTest::newRow("Nein") << false;
        QTest::newRow("Ja") << true;
    }
    void beenden()
    {
        QFETCH(bool, ja);
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 2), "x", "y"));
        auto fenster = std::make_unique<frmMain>();
        zeigeAktiv(fenster.get());
        Benutzer().setzeErgebnis(5, 4);
        Meldung::setzeNaechsteAntwort(ja ? Meldung::Antwort::Ja : Meldung::Antwort::Nein);
        // An access key presses its button with a short visible delay.
        QTest::keyClick(fenster.get(), Qt::Key_E, Qt::AltModifier);
        QTRY_COMPARE(Meldung::gefragt().size(), 1);
        QCOMPARE(Meldung::gefragt().at(0).text, QString("Möchten Sie das Programm wirklich beenden ?"));
        QCOMPARE(Meldung::gefragt().at(0).titel, QString("Beenden ?"));
        QCOMPARE(Meldung::gefragt().at(0).knoepfe, Meldung::Knoepfe::JaNein);
        QCOMPARE(fenster->isVisible(), !ja);
        QList<int> noten(11, 2);
        if (ja)
            noten[4] = 4;
        QCOMPARE(m_ordner->lies("USER.QXV"), userDatei(noten, "x", "y"));
        if (!ja) {
            // The close box ends without a question, and saves.
            fenster->close();
            QCOMPARE(Meldung::gefragt().size(), 1);
            QCOMPARE(m_ordner->lies("USER.QXV"), userDatei({2, 2, 2, 2, 4, 2, 2, 2, 2, 2, 2}, "x", "y"));
        }
    }

    void speichernScheitert()
    {
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
        auto fenster = std::make_unique<frmMain>();
        fenster->show();
        QFile::remove(m_ordner->datei("USER.QXV"));
        QVERIFY(QDir(m_ordner->pfad()).mkdir("USER.QXV"));
        fenster->close();
        QVERIFY(!fenster->isVisible());
        QCOMPARE(Meldung::gefragt().size(), 1);
        QCOMPARE(Meldung::gefragt().at(0).text, QString("Benutzerwertung speichern ist nicht möglich !"));
        QCOMPARE(Meldung::gefragt().at(0).titel, QString("Speichern"));
        // Closing again neither saves nor asks a second time.
        fenster->close();
        QCOMPARE(Meldung::gefragt().size(), 1);
    }

    void info()
    {
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
        frmMain fenster;
        fenster.show();
        QPointer<QWidget> dialog;
        BeimNaechstenModal info([&](QWidget* modal) {
            dialog = modal;
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QTest::mouseClick(fenster.cmd_Info, Qt::LeftButton);
        QVERIFY(info.lief());
        QCOMPARE(info.titel(), QString("Info zu Selvarot I/II - Theorie"));
        QTRY_VERIFY(dialog.isNull());
        fenster.close();
    }

    void aufbau_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("Abfragen") << "Button1" << QRect(4080, 1800, 1335, 375);
        QTest::newRow("Lernen") << "Button0" << QRect(4080, 1320, 1335, 375);
        QTest::newRow("Ende") << "cmd_Ende" << QRect(6120, 4920, 615, 495);
        QTest::newRow("Info") << "cmd_Info" << QRect(5400, 4920, 615, 495);
        QTest::newRow("Liste") << "LView" << QRect(240, 1320, 3615, 3375);
        QTest::newRow("Untertitel") << "bez_Titel2" << QRect(120, 600, 6615, 375);
        QTest::newRow("Benutzer") << "bez_Benutzer" << QRect(240, 840, 6495, 375);
        QTest::newRow("Titel") << "bez_Titel" << QRect(120, 120, 6735, 615);
    }
    void aufbau()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
        frmMain fenster;
        auto* w = fenster.findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(), Twips::rechteck(twips.x(), twips.y(), twips.width(), twips.height()));
        fenster.close();
    }

    void fensterUndTabulator()
    {
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
        frmMain fenster;
        zeigeAktiv(&fenster);
        QCOMPARE(fenster.size(), QSize(462, 372));
        QCOMPARE(fenster.minimumSize(), fenster.maximumSize());
        QCOMPARE(fenster.windowTitle(), QString("Selvarot I/II - Theorie"));
        QVERIFY(fenster.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(fenster.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(fenster.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(fenster.bez_Titel->text(), QString("Selvarot I / II"));
        QCOMPARE(fenster.bez_Titel2->text(), QString("Vorbereitung auf die theoretische Prüfung"));
        QCOMPARE(fenster.bez_Benutzer->text(), QString());
        // Arial, or on a system without it the font with Arial's metrics.
        const QString schrift = QFontInfo(fenster.LView->font()).family();
        QVERIFY2(schrift == "Arial" || schrift == "Liberation Sans", qPrintable(schrift));
        QCOMPARE(fenster.LView->font().pointSizeF(), 9.75);

        // Tab visits the list, "Lernen" and "Abfragen" only.
        QCOMPARE(QApplication::focusWidget(), fenster.LView);
        for (QWidget* naechstes : {static_cast<QWidget*>(fenster.Button[0]), static_cast<QWidget*>(fenster.Button[1]),
                                   static_cast<QWidget*>(fenster.LView)}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), naechstes);
        }
        QVERIFY(!(fenster.cmd_Info->focusPolicy() & Qt::TabFocus));
        QVERIFY(!(fenster.cmd_Ende->focusPolicy() & Qt::TabFocus));

        // Access keys: Alt+L and Alt+A start a mode, Alt+I the About dialog.
        QTest::keyClick(&fenster, Qt::Key_L, Qt::AltModifier);
        QTRY_COMPARE(Meldung::gefragt().size(), 1);
        QTest::keyClick(&fenster, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(Meldung::gefragt().size(), 2);
        BeimNaechstenModal info([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
        QTest::keyClick(&fenster, Qt::Key_I, Qt::AltModifier);
        QTRY_VERIFY(info.lief());
        fenster.close();
    }

    // The title lines draw from the top of their boxes, which overlap as laid out, and the
    // window with its frame stands in the middle of the screen.
    void titelVonObenUndMittig()
    {
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
        frmMain fenster;
        fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenster));
        for (QLabel* titel : {fenster.bez_Titel, fenster.bez_Titel2}) {
            QVERIFY(titel->alignment() & Qt::AlignHCenter);
            QVERIFY(qAbs(ersteTintenzeile(titel) - tinteOben(titel)) <= 1);
        }
        QVERIFY(fenster.frameGeometry() != fenster.geometry());
        const QPoint versatz = fenster.frameGeometry().center() - fenster.screen()->availableGeometry().center();
        QVERIFY2(versatz.manhattanLength() <= 1,
                 qPrintable(QStringLiteral("%1, %2").arg(versatz.x()).arg(versatz.y())));
        fenster.close();
    }

private:
    std::unique_ptr<TestOrdner> m_ordner;
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
