#include "Erlaeuterungen.h"
#include "Katalog.h"
#include "TestOrdner.h"
#include "Windows1252.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

// The explanation files: which question an explanation belongs to, and what a damaged, cut-short
// or endless file gives.
namespace {

QByteArray kopf() { return "\"Notverkehr\",\"Erläuterungen\",2\r\n"; }

QByteArray zeile(const QString& frage, const QString& antwort, const QString& text, const QString& quelle)
{
    return "\"" + Windows1252::kodiere(frage) + "\",\"" + Windows1252::kodiere(antwort) + "\",\"" +
           Windows1252::kodiere(text) + "\",\"" + Windows1252::kodiere(quelle) + "\"\r\n";
}

Erlaeuterungen aus(const QByteArray& bytes)
{
    QBuffer puffer;
    puffer.setData(bytes);
    puffer.open(QIODevice::ReadOnly);
    return Erlaeuterungen::lese(puffer);
}

// The explanation text found for the question, or "-" for none.
QString gefunden(const Erlaeuterungen& erl, const QString& frage, const QString& antwort)
{
    const auto e = erl.suche(frage, antwort);
    return e ? e->text : QStringLiteral("-");
}

const QString kFrage = QStringLiteral("Was bedeutet \"MAYDAY\"?");
const QString kAntwort = QStringLiteral("Notfall,\r\nsofort");

} // namespace

class tst_Erlaeuterungen : public QObject {
    Q_OBJECT
private slots:
    // The record is found by the question's text and its right answer as the bank holds them,
    // whatever their place, and only by them.
    void schluessel_data()
    {
        QTest::addColumn<QString>("frage");
        QTest::addColumn<QString>("antwort");
        QTest::addColumn<QString>("text");
        const auto fall = [](const char* name, const QString& frage, const QString& antwort, const QString& text) {
            QTest::newRow(name) << frage << antwort << text;
        };
        fall("as in the file", kFrage, kAntwort, "Weil es so ist.");
        fall("other runs of blanks and line breaks", "  Was  bedeutet\r\n\"MAYDAY\"? ", "Notfall, sofort",
             "Weil es so ist.");
        fall("the second record", "Wer?", "Der Schiffsführer", "Er entscheidet.");
        fall("an edited question", "Was bedeutet \"PAN PAN\"?", kAntwort, "-");
        fall("a word more in the question", "Was bedeutet \"MAYDAY\" genau?", kAntwort, "-");
        fall("another right answer", kFrage, "Dringlichkeit", "-");
        fall("the right answer edited", kFrage, "Notfall, sofort!", "-");
        fall("a record without explanation", "Leer?", "Ja", "-");
        fall("a record without question", "", "Ja", "-");
        fall("a record without answer", "Ohne Antwort?", "", "-");
        fall("the first of two records wins", "Zweimal?", "Ja", "Zuerst.");
    }
    void schluessel()
    {
        QFETCH(QString, frage);
        QFETCH(QString, antwort);
        QFETCH(QString, text);
        // Written as a topic file writes them: "*" for a double quote, "##" for a line break.
        const QByteArray bytes =
            kopf() + zeile("Was bedeutet *MAYDAY*?", "Notfall,##sofort", "Weil es so ist.", "VO Funk") +
            zeile("Leer?", "Ja", "   ", "") + zeile("", "Ja", "Ohne Frage.", "") +
            zeile("Ohne Antwort?", "", "Weil.", "") + zeile("Wer?", "Der Schiffsführer", "Er entscheidet.", "") +
            zeile("Zweimal?", "Ja", "Zuerst.", "") + zeile("Zweimal?", "Ja", "Danach.", "");
        QCOMPARE(gefunden(aus(bytes), frage, antwort), text);
        // Moved to the end of the file, every record keeps its question.
        const QList<QByteArray> zeilen = bytes.split('\n');
        QByteArray umgestellt = kopf();
        for (int i = 2; i < zeilen.size() - 1; ++i)
            umgestellt += zeilen[i] + '\n';
        umgestellt += zeilen[1] + '\n';
        QCOMPARE(gefunden(aus(umgestellt), frage, antwort), text);
    }

    void felder()
    {
        const Erlaeuterungen erl =
            aus(kopf() + zeile("Frage?", "Antwort", " Zwei Zeilen:##*so* und so. ", " VO Funk Art. 32 ") +
                "Ohne Anfuehrung?,Ja,Weil,Quelle\r\n");
        QCOMPARE(erl.eintraege().size(), 2);
        const auto e = erl.suche("Frage?", "Antwort");
        QVERIFY(e);
        QCOMPARE(e->text, QString("Zwei Zeilen:\r\n\"so\" und so."));
        QCOMPARE(e->quelle, QString("VO Funk Art. 32"));
        QCOMPARE(erl.suche("Ohne Anfuehrung?", "Ja").value_or(Erlaeuterungen::Eintrag{}).quelle, QString("Quelle"));
    }

    // A damaged line spoils only itself; a record cut short by the end of the file, or a quote
    // that never closes, ends the reading there.
    void beschaedigt_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("erklaert");
        const QByteArray a = zeile("A?", "a", "Wegen a.", "");
        const QByteArray b = zeile("B?", "b", "Wegen b.", "");
        QTest::newRow("whole") << kopf() + a + b << QStringList{"A?", "B?"};
        QTest::newRow("no header") << a + b << QStringList{"B?"};
        QTest::newRow("a source left out") << kopf() + "\"A?\",\"a\",\"Wegen a.\"\r\n" + b << QStringList{"B?"};
        QTest::newRow("a comma in an unquoted explanation")
            << kopf() + "\"A?\",\"a\",Weil, darum,\"Q\"\r\n" + b << QStringList{"B?"};
        QTest::newRow("blank lines and lone line ends")
            << kopf() + "\r\n\r\n" + a.chopped(2) + "\n\r\n" + b.chopped(2) + "\r" << QStringList{"A?", "B?"};
        QTest::newRow("the last line without its line end") << kopf() + a + b.chopped(2) << QStringList{"A?", "B?"};
        QTest::newRow("the last record cut short") << kopf() + a + b.left(b.indexOf("Wegen")) << QStringList{"A?"};
        QTest::newRow("a quote that never closes")
            << kopf() + a + "\"B?\",\"b\",\"" + QByteArray(100000, 'x') + "\r\n" + b << QStringList{"A?"};
        QTest::newRow("not text at all") << QByteArray("\x00\xff\x01,\r\n\x89PNG\r\n\x1a\n", 14) << QStringList{};
        QTest::newRow("empty") << QByteArray() << QStringList{};
    }
    void beschaedigt()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, erklaert);
        QStringList fragen;
        for (const auto& e : aus(bytes).eintraege())
            fragen << e.frage;
        QCOMPARE(fragen, erklaert);
    }

    // Only the first MiB and 300 lines are read, and past the bound only whole lines.
    void grenze()
    {
        const QByteArray a = zeile("A?", "a", "Wegen a.", "");
        QByteArray zeilen = kopf();
        for (int i = 1; i < Erlaeuterungen::HoechstensZeilen; ++i)
            zeilen += zeile(QString("F%1?").arg(i), "a", "Weil.", "");
        const Erlaeuterungen viele = aus(zeilen + a);
        QCOMPARE(viele.eintraege().size(), Erlaeuterungen::HoechstensZeilen - 1);
        QVERIFY(!viele.suche("A?", "a"));

        // Long records fill the first MiB up to half a record; the one that crosses the bound,
        // and what follows, are not read.
        const QByteArray lang = zeile("Lang?", "a", QString(30000, 'x'), "");
        const qsizetype bis = Erlaeuterungen::HoechstensBytes - a.size() / 2;
        QByteArray gross = kopf();
        while (gross.size() + 2 * lang.size() < bis)
            gross += lang;
        const qsizetype rest = bis - gross.size() - zeile("Voll?", "a", "", "").size();
        gross += zeile("Voll?", "a", QString(rest, 'y'), "");
        QCOMPARE(gross.size(), bis);
        gross += a + zeile("Danach?", "a", "Nie.", "");
        QVERIFY(gross.size() > Erlaeuterungen::HoechstensBytes);
        QBuffer puffer;
        puffer.setData(gross + QByteArray(8 << 20, ','));
        puffer.open(QIODevice::ReadOnly);
        const Erlaeuterungen erl = Erlaeuterungen::lese(puffer);
        QVERIFY(puffer.pos() <= Erlaeuterungen::HoechstensBytes);
        QVERIFY(erl.suche("Lang?", "a"));
        QVERIFY(erl.suche("Voll?", "a"));
        QVERIFY(!erl.suche("A?", "a"));
        QVERIFY(!erl.suche("Danach?", "a"));
    }

    // The file beside the program: topic n's own, and none for what is no plain file.
    void datei_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<bool>("erklaert");
        QTest::newRow("plain file") << "datei" << true;
        QTest::newRow("missing") << "fehlt" << false;
        QTest::newRow("a folder") << "ordner" << false;
        QTest::newRow("a pipe") << "rohr" << false;
        QTest::newRow("a link to /dev/zero") << "null" << false;
        QTest::newRow("another topic's file") << "anderes" << false;
    }
    void datei()
    {
        QFETCH(QString, art);
        QFETCH(bool, erklaert);
        TestOrdner ordner;
        const QString pfad = ordner.datei("QXV.3.ERL");
        const QByteArray bytes = kopf() + zeile("A?", "a", "Wegen a.", "");
        if (art == "datei")
            ordner.schreibe("QXV.3.ERL", bytes);
        else if (art == "ordner")
            QVERIFY(QDir(ordner.pfad()).mkdir("QXV.3.ERL"));
        else if (art == "rohr")
            QCOMPARE(::mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
        else if (art == "null")
            QVERIFY(QFile::link("/dev/zero", pfad));
        else if (art == "anderes")
            ordner.schreibe("QXV.4.ERL", bytes);
        QCOMPARE(Erlaeuterungen::dateiname(3), pfad);
        QCOMPARE(Erlaeuterungen::ausDatei(3).suche("A?", "a").has_value(), erklaert);
        Erlaeuterungsdateien alle;
        QCOMPARE(alle.suche(3, "A?", "a").has_value(), erklaert);
        QVERIFY(!alle.suche(0, "A?", "a"));
        QVERIFY(!alle.suche(12, "A?", "a"));
    }
};

QTEST_GUILESS_MAIN(tst_Erlaeuterungen)
#include "tst_erlaeuterungen.moc"
