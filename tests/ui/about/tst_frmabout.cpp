#include "Modal.h"
#include "TestOrdner.h"
#include "Tinte.h"
#include "Twips.h"
#include "about/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

class tst_frmAbout : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void inhalt()
    {
        frmAbout dialog;
        QCOMPARE(dialog.windowTitle(), QString("Info zu Selvarot I/II - Theorie"));
        QCOMPARE(dialog.lblTitle->text(), QString("Selvarot I/II - Theorie"));
        QCOMPARE(dialog.lblVersion->text(), QString("Version 1.6.0"));
        QCOMPARE(dialog.cmdOK->text(), QString("OK"));

        const QString kontakt = frmAbout::kontaktblock();
        QCOMPARE(kontakt.count("\r\n"), 3);
        QVERIFY(!kontakt.endsWith("\r\n"));
        QVERIFY(kontakt.endsWith(".example"));
        QCOMPARE(dialog.lblDisclaimer->text(), alsAnzeige(kontakt));

        const QString hinweis = frmAbout::hinweistext();
        QCOMPARE(hinweis.count("\r\n"), 8);
        QCOMPARE(hinweis.count("\r"), 8);
        QCOMPARE(hinweis.count("\n"), 8);
        const QStringList teile = hinweis.split("\r\n\r\n");
        QCOMPARE(teile.size(), 5);
        QVERIFY(teile[0].endsWith(". "));
        QVERIFY(teile[1].endsWith(". "));
        QVERIFY(teile[2].endsWith(" Weitere Informationen erhalten Sie unter Readme.txt."));
        QVERIFY(teile[3].endsWith(". "));
        QCOMPARE(teile[4], kontakt.section("\r\n", 0, 0));
        QCOMPARE(dialog.Text1->toPlainText(), alsAnzeige(hinweis));
        QVERIFY(dialog.Text1->isReadOnly());
    }

    void schliessen_data()
    {
        QTest::addColumn<int>("weg");
        QTest::newRow("Enter") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("click on OK") << 2;
    }
    void schliessen()
    {
        QFETCH(int, weg);
        QPointer<frmAbout> dialog;
        BeimNaechstenModal klick([&](QWidget* modal) {
            dialog = qobject_cast<frmAbout*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->focusWidget(), dialog->cmdOK);
            if (weg == 0)
                QTest::keyClick(modal, Qt::Key_Return);
            else if (weg == 1)
                QTest::keyClick(modal, Qt::Key_Escape);
            else
                QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
        });
        frmAbout::zeige(nullptr);
        QVERIFY(klick.lief());
        // The dialog destroyed itself.
        QVERIFY(dialog.isNull());
    }

    void aufbau()
    {
        frmAbout dialog;
        QCOMPARE(dialog.size(), QSize(Twips::px(5730), Twips::px(4785)));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowSystemMenuHint));
        QCOMPARE(dialog.Text1->geometry(), Twips::rechteck(120, 1800, 5415, 2415));
        QCOMPARE(dialog.picIcon->geometry(), Twips::rechteck(240, 120, 540, 540));
        QCOMPARE(dialog.cmdOK->geometry(), Twips::rechteck(4320, 4320, 1260, 345));
        QCOMPARE(dialog.lblTitle->geometry(), Twips::rechteck(960, 120, 4605, 360));
        QCOMPARE(dialog.lblVersion->geometry(), Twips::rechteck(960, 480, 4605, 225));
        QCOMPARE(dialog.lblDisclaimer->geometry(), Twips::rechteck(1200, 840, 2775, 825));
        QCOMPARE(dialog.picIcon->pixmap().size(), QSize(32, 32));
        QVERIFY(dialog.cmdOK->isDefault());
        // Title and version draw from the top of their boxes, as laid out.
        for (QLabel* zeile : {dialog.lblTitle, dialog.lblVersion})
            QVERIFY(qAbs(ersteTintenzeile(zeile) - tinteOben(zeile)) <= 1);
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
