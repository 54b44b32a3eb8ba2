#include "Meldung.h"
#include "Modal.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

// The real message box, as the user sees it: the widget tests of the windows answer it
// through the seam instead.
class tst_Meldung : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void antworten_data()
    {
        QTest::addColumn<bool>("jaNein");
        QTest::addColumn<int>("taste");
        QTest::addColumn<int>("antwort");
        QTest::newRow("OK with Enter") << false << int(Qt::Key_Return) << int(Meldung::Antwort::Ok);
        QTest::newRow("OK with Escape") << false << int(Qt::Key_Escape) << int(Meldung::Antwort::Ok);
        QTest::newRow("Ja is the default") << true << int(Qt::Key_Return) << int(Meldung::Antwort::Ja);
        QTest::newRow("Escape says Nein") << true << int(Qt::Key_Escape) << int(Meldung::Antwort::Nein);
    }
    void antworten()
    {
        QFETCH(bool, jaNein);
        QFETCH(int, taste);
        QFETCH(int, antwort);
        QStringList knoepfe;
        QString text;
        BeimNaechstenModal box([&](QWidget* modal) {
            for (auto* k : modal->findChildren<QPushButton*>())
                knoepfe << k->text() + (k->isDefault() ? "*" : "");
            text = modal->findChild<QLabel*>("text")->text();
            QTest::keyClick(modal, Qt::Key(taste));
        });
        const auto ergebnis = Meldung::zeige(nullptr, "Möchten Sie <b>das</b> wirklich ?", "Beenden ?",
                                             jaNein ? Meldung::Knoepfe::JaNein : Meldung::Knoepfe::Ok);
        QVERIFY(box.lief());
        QCOMPARE(box.titel(), QString("Beenden ?"));
        QCOMPARE(text, QString("Möchten Sie <b>das</b> wirklich ?"));
        QCOMPARE(knoepfe, jaNein ? (QStringList{"&Ja*", "&Nein"}) : (QStringList{"OK*"}));
        QCOMPARE(int(ergebnis), antwort);
    }

    void nein()
    {
        BeimNaechstenModal box([](QWidget* modal) {
            for (auto* k : modal->findChildren<QPushButton*>()) {
                if (k->text() == "&Nein")
                    QTest::mouseClick(k, Qt::LeftButton);
            }
        });
        QCOMPARE(Meldung::zeige(nullptr, "?", "Beenden ?", Meldung::Knoepfe::JaNein), Meldung::Antwort::Nein);
        QVERIFY(box.lief());
    }
};

QTEST_MAIN(tst_Meldung)
#include "tst_meldung.moc"
