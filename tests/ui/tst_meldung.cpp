#include "Meldung.h"
#include "Modal.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

Q_DECLARE_METATYPE(Meldung::Knoepfe)

// The real message box, as the user sees it: the widget tests of the windows answer it
// through the seam instead.
class tst_Meldung : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void antworten_data()
    {
        QTest::addColumn<Meldung::Knoepfe>("art");
        QTest::addColumn<int>("taste");
        QTest::addColumn<int>("antwort");
        QTest::addColumn<QStringList>("knoepfe");
        const auto ok = Meldung::Knoepfe::Ok, jaNein = Meldung::Knoepfe::JaNein;
        const QStringList jaVorgabe{"&Ja*", "&Nein"};
        QTest::newRow("OK with Enter") << ok << int(Qt::Key_Return) << int(Meldung::Antwort::Ok) << QStringList{"OK*"};
        QTest::newRow("OK with Escape") << ok << int(Qt::Key_Escape) << int(Meldung::Antwort::Ok) << QStringList{"OK*"};
        QTest::newRow("Ja is the default") << jaNein << int(Qt::Key_Return) << int(Meldung::Antwort::Ja) << jaVorgabe;
        QTest::newRow("Escape says Nein") << jaNein << int(Qt::Key_Escape) << int(Meldung::Antwort::Nein) << jaVorgabe;
        // Where a stray Enter would throw work away.
        QTest::newRow("Nein as the default") << Meldung::Knoepfe::JaNeinVorgabeNein << int(Qt::Key_Return)
                                             << int(Meldung::Antwort::Nein) << QStringList{"&Ja", "&Nein*"};
    }
    void antworten()
    {
        QFETCH(Meldung::Knoepfe, art);
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
        const auto ergebnis = Meldung::zeige(nullptr, "Möchten Sie <b>das</b> wirklich ?", "Beenden ?", art);
        QVERIFY(box.lief());
        QCOMPARE(box.titel(), QString("Beenden ?"));
        QCOMPARE(text, QString("Möchten Sie <b>das</b> wirklich ?"));
        QTEST(knoepfe, "knoepfe");
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
