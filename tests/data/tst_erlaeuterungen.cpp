#include "Erlaeuterungen.h"
#include "TestOrdner.h"
#include "Windows1252.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

// The explanation files: which question an explanation belongs to, and what a damaged, cut-short
// or endless file gives.
namespace {

const QByteArray kKopf = "\"Notverkehr\",\"Erl\xe4uterungen\",2\r\n";

QByteArray zeile(const QString& frage, const QString& antwort, const QString& text, const QString& quelle = "")
{
    return Windows1252::kodiere(QStringLiteral("\"%1\",\"%2\",\"%3\",\"%4\"\r\n").arg(frage, antwort, text, quelle));
}

Erlaeuterungen aus(QByteArray bytes)
{
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::ReadOnly);
    return Erlaeuterungen::lese(puffer);
}

// The explanation and its source found for the question, or "-".
QString gefunden(const Erlaeuterungen& erl, const QString& frage, const QString& antwort)
{
    const auto e = erl.suche(frage, antwort);
    return e ? e->text + " | " + e->quelle : QStringLiteral("-");
}

QStringList fragen(const Erlaeuterungen& erl)
{
    QStringList liste;
    for (const auto& e : erl.eintraege())
        liste << e.frage;
    return liste;
}

} // namespace

class tst_Erlaeuterungen : public QObject {
    Q_OBJECT
private slots:
    // The record is found by the question's text and its right answer as the bank holds them,
    // whatever their place in the file, and only by them.
    void schluessel_data()
    {
        QTest::addColumn<QString>("frage");
        QTest::addColumn<QString>("antwort");
        QTest::addColumn<QString>("gefunden");
        const auto fall = [](const char* name, const QString& frage, const QString& antwort, const QString& text) {
            QTest::newRow(name) << frage << antwort << text;
        };
        const QString mayday = "Was bedeutet \"MAYDAY\"?";
        const QString notfall = "Notfall,\r\nsofort";
        const QString weil = "Weil\r\n\"so\" es ist. | VO Funk";
        fall("as the bank holds it", mayday, notfall, weil);
        fall("other runs of blanks and line breaks", "  Was  bedeutet\r\n\"MAYDAY\"? ", "Notfall, sofort", weil);
        fall("an edited question", "Was bedeutet \"PAN PAN\"?", notfall, "-");
        fall("a word more in the question", "Was bedeutet \"MAYDAY\" genau?", notfall, "-");
        fall("another right answer", mayday, "Dringlichkeit", "-");
        fall("the right answer edited", mayday, "Notfall, sofort!", "-");
        fall("a record without explanation", "Leer?", "Ja", "-");
        fall("a record without question", "", "Ja", "-");
        fall("a record without answer", "Ohne Antwort?", "", "-");
        fall("the first of two records wins", "Zweimal?", "Ja", "Zuerst. | ");
    }
    void schluessel()
    {
        QFETCH(QString, frage);
        QFETCH(QString, antwort);
        QFETCH(QString, gefunden);
        // Written as a topic file writes them: "*" for a double quote, "##" for a line break.
        const QList<QByteArray> zeilen{
            zeile("Was bedeutet *MAYDAY*?", "Notfall,##sofort", " Weil##*so* es ist. ", " VO Funk "),
            zeile("Leer?", "Ja", "   "),
            zeile("", "Ja", "Ohne Frage."),
            zeile("Ohne Antwort?", "", "Weil."),
            zeile("Zweimal?", "Ja", "Zuerst."),
            zeile("Zweimal?", "Ja", "Danach.")};
        QCOMPARE(::gefunden(aus(kKopf + zeilen.join()), frage, antwort), gefunden);
        // Moved to the end of the file, the record still belongs to its question.
        QCOMPARE(::gefunden(aus(kKopf + zeilen.mid(1).join() + zeilen[0]), frage, antwort), gefunden);
    }

    // A damaged line spoils only itself; a record cut short by the end of the file, or a quote
    // that never closes, ends the reading there.
    void beschaedigt_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("erklaert");
        const QByteArray a = zeile("A?", "a", "Wegen a.");
        const QByteArray b = zeile("B?", "b", "Wegen b.");
        QTest::newRow("whole") << kKopf + a + b << QStringList{"A?", "B?"};
        QTest::newRow("no header") << a + b << QStringList{"B?"};
        QTest::newRow("a source left out") << kKopf + "\"A?\",\"a\",\"Wegen a.\"\r\n" + b << QStringList{"B?"};
        QTest::newRow("a comma in an unquoted explanation")
            << kKopf + "A?,a,Weil, darum,Q\r\n" + b << QStringList{"B?"};
        QTest::newRow("blank lines and lone line ends")
            << kKopf + "\r\n\r\n" + a.chopped(2) + "\n\r\n" + b.chopped(2) + "\r" << QStringList{"A?", "B?"};
        QTest::newRow("the last line without its line end") << kKopf + a + b.chopped(2) << QStringList{"A?", "B?"};
        QTest::newRow("the last record cut short") << kKopf + a + b.left(b.indexOf("Wegen")) << QStringList{"A?"};
        QTest::newRow("a quote that never closes")
            << kKopf + a + "\"B?\",\"b\",\"" + QByteArray(100000, 'x') + "\r\n" + b << QStringList{"A?"};
        QTest::newRow("not text at all") << QByteArray("\x00\xff\x01,\r\n\x89PNG\r\n\x1a\n", 14) << QStringList{};
    }
    void beschaedigt()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, erklaert);
        QCOMPARE(fragen(aus(bytes)), erklaert);
    }

    // Only 300 lines and the first MiB are read, and of that MiB only whole lines.
    void grenze()
    {
        QByteArray viele = kKopf;
        for (int i = 1; i <= Erlaeuterungen::HoechstensZeilen; ++i)
            viele += zeile(QString("F%1?").arg(i), "a", "Weil.");
        QCOMPARE(fragen(aus(viele)).last(), QString("F%1?").arg(Erlaeuterungen::HoechstensZeilen - 1));

        // Records of 30,000 bytes up to half a record before the bound; the next crosses it.
        const QByteArray a = zeile("A?", "a", "Wegen a.");
        const qsizetype bis = Erlaeuterungen::HoechstensBytes - a.size() / 2;
        QByteArray gross = kKopf;
        while (gross.size() + 2 * 30000 < bis)
            gross += zeile("Lang?", "a", QString(30000, 'x'));
        gross += zeile("Voll?", "a", QString(bis - gross.size() - zeile("Voll?", "a", "").size(), 'y'));
        QCOMPARE(gross.size(), bis);
        gross += a + QByteArray(8 << 20, ',');
        QBuffer puffer(&gross);
        puffer.open(QIODevice::ReadOnly);
        QCOMPARE(fragen(Erlaeuterungen::lese(puffer)), (QStringList{"Lang?", "Voll?"}));
        QVERIFY(puffer.pos() <= Erlaeuterungen::HoechstensBytes);
    }

    // The file beside the program: topic n's own, and none for what is no plain file. A pipe is the
    // case that proves it: a folder or a device would give nothing even if they were opened.
    void datei_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<bool>("erklaert");
        QTest::newRow("plain file") << "datei" << true;
        QTest::newRow("missing") << "fehlt" << false;
        QTest::newRow("a pipe") << "rohr" << false;
        QTest::newRow("another topic's file") << "anderes" << false;
    }
    void datei()
    {
        QFETCH(QString, art);
        QFETCH(bool, erklaert);
        TestOrdner ordner;
        const QString pfad = ordner.datei("QXV.3.ERL");
        const QByteArray bytes = kKopf + zeile("A?", "a", "Wegen a.");
        if (art == "datei")
            ordner.schreibe("QXV.3.ERL", bytes);
        else if (art == "rohr")
            QCOMPARE(::mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
        else if (art == "anderes")
            ordner.schreibe("QXV.4.ERL", bytes);
        QCOMPARE(Erlaeuterungen::dateiname(3), pfad);
        Erlaeuterungsdateien alle;
        QCOMPARE(alle.suche(3, "A?", "a").has_value(), erklaert);
        QVERIFY(!alle.suche(0, "A?", "a") && !alle.suche(12, "A?", "a"));
    }
};

QTEST_GUILESS_MAIN(tst_Erlaeuterungen)
#include "tst_erlaeuterungen.moc"
