#include "Feldleser.h"
#include "Windows1252.h"

#include <QBuffer>
#include <QStringDecoder>
#include <QTest>

namespace {

// Reads text fields until the data ends.
QStringList alleFelder(const QByteArray& bytes)
{
    QBuffer puffer;
    puffer.setData(bytes);
    puffer.open(QIODevice::ReadOnly);
    Feldleser leser(&puffer);
    QStringList felder;
    while (const auto feld = leser.leseText())
        felder << *feld;
    return felder;
}

} // namespace

class tst_Feldleser : public QObject {
    Q_OBJECT
private slots:
    void textfelder_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("felder");

        QTest::newRow("quoted and unquoted") << QByteArray("\"a\",b\r\n") << QStringList{"a", "b"};
        QTest::newRow("commas inside quotes") << QByteArray("\"a, b, c\",d\r\n") << QStringList{"a, b, c", "d"};
        QTest::newRow("unquoted ends at comma") << QByteArray("a, b, c\r\n") << QStringList{"a", "b", "c"};
        QTest::newRow("leading blanks skipped") << QByteArray("   \"a\",   b\r\n") << QStringList{"a", "b"};
        QTest::newRow("trailing blanks dropped unquoted") << QByteArray("a   ,b  \r\n") << QStringList{"a", "b"};
        QTest::newRow("blanks kept inside quotes") << QByteArray("\" a \"\r\n") << QStringList{" a "};
        QTest::newRow("two commas give an empty field") << QByteArray("a,,b\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("empty line gives an empty field") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("after the closing quote up to the separator is skipped")
            << QByteArray("\"a\"xyz,\"b\" \r\n") << QStringList{"a", "b"};
        QTest::newRow("line end and comma are the same") << QByteArray("a\r\nb,c\r\nd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("lone LF and lone CR end lines too") << QByteArray("a\nb\rc\r\n") << QStringList{"a", "b", "c"};
        QTest::newRow("quoted field may hold a line end") << QByteArray("\"a\r\nb\",c") << QStringList{"a\r\nb", "c"};
        QTest::newRow("unclosed quote runs to the end") << QByteArray("\"abc,def") << QStringList{"abc,def"};
        QTest::newRow("last field without line end") << QByteArray("a,b") << QStringList{"a", "b"};
        QTest::newRow("trailing comma at the end of data") << QByteArray("a,") << QStringList{"a"};
        QTest::newRow("nothing at all") << QByteArray() << QStringList{};
        QTest::newRow("Windows-1252 bytes") << QByteArray("\"Pr\xFC" "fung \x80 \x84ja\x93\"")
                                            << QStringList{QString::fromUtf8("Prüfung € „ja“")};
    }
    void textfelder()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, felder);
        QCOMPARE(alleFelder(bytes), felder);
    }

    void zahlen_data()
    {
        QTest::addColumn<QByteArray>("feld");
        QTest::addColumn<int>("wert");
        QTest::newRow("plain") << QByteArray("3") << 3;
        QTest::newRow("blanks around") << QByteArray("  12  ") << 12;
        QTest::newRow("signed") << QByteArray("-5") << -5;
        QTest::newRow("plus") << QByteArray("+7") << 7;
        QTest::newRow("largest") << QByteArray("32767") << 32767;
        QTest::newRow("smallest") << QByteArray("-32768") << -32768;
        QTest::newRow("too large") << QByteArray("32768") << 0;
        QTest::newRow("too small") << QByteArray("-32769") << 0;
        QTest::newRow("far too large") << QByteArray("99999999999999999999999") << 0;
        QTest::newRow("text") << QByteArray("drei") << 0;
        QTest::newRow("digits and text") << QByteArray("3a") << 0;
        QTest::newRow("decimal point") << QByteArray("1.5") << 0;
        QTest::newRow("sign alone") << QByteArray("-") << 0;
        QTest::newRow("empty") << QByteArray("") << 0;
    }
    void zahlen()
    {
        QFETCH(QByteArray, feld);
        QFETCH(int, wert);
        QCOMPARE(int(Feldleser::alsZahl(feld)), wert);
    }

    void zahlfelderLesen()
    {
        QBuffer puffer;
        puffer.setData("\"4\", 2 ,x\r\n\r\n-1");
        puffer.open(QIODevice::ReadOnly);
        Feldleser leser(&puffer);
        QCOMPARE(leser.leseZahl(), std::optional<qint16>(4));
        QCOMPARE(leser.leseZahl(), std::optional<qint16>(2));
        QCOMPARE(leser.leseZahl(), std::optional<qint16>(0));
        QCOMPARE(leser.leseZahl(), std::optional<qint16>(0));
        QCOMPARE(leser.leseZahl(), std::optional<qint16>(-1));
        QVERIFY(leser.amEnde());
        QVERIFY(!leser.leseZahl());
    }

    // Whether a field ended its line: a line end of any kind outside quotes, or the end of the data.
    void zeilenende()
    {
        QBuffer puffer;
        puffer.setData("a,\"b\r\nc\"\r\nd\ne\rf,\"g\" x\r\n,h");
        puffer.open(QIODevice::ReadOnly);
        Feldleser leser(&puffer);
        QList<bool> enden;
        while (leser.leseText())
            enden << leser.zeilenende();
        QCOMPARE(enden, (QList<bool>{false, true, true, true, false, true, false, true}));
    }

    // After the last field of a file that ends with a line end the reader stands at its end.
    void endeNachLetzterZeile()
    {
        QBuffer puffer;
        puffer.setData("\"a\",1\r\n");
        puffer.open(QIODevice::ReadOnly);
        Feldleser leser(&puffer);
        QVERIFY(leser.leseText());
        QVERIFY(!leser.amEnde());
        QVERIFY(leser.leseZahl());
        QVERIFY(leser.amEnde());
    }

    void nurNochLeerraum()
    {
        QBuffer puffer;
        puffer.setData("a\r\n  \r\n\r\n");
        puffer.open(QIODevice::ReadOnly);
        Feldleser leser(&puffer);
        QVERIFY(!leser.nurNochLeerraum());
        QCOMPARE(*leser.leseText(), QString("a"));
        QVERIFY(leser.nurNochLeerraum());
        // Looking ahead consumes nothing.
        QCOMPARE(*leser.leseText(), QString(""));
    }

    // Fields longer than the reader's chunk, and a file far larger than what is read.
    void langeDaten()
    {
        const QByteArray lang(10000, 'x');
        QCOMPARE(alleFelder("\"" + lang + "\"," + lang), (QStringList{lang, lang}));

        QBuffer puffer;
        QByteArray gross = "\"Titel\",\"x\",0\r\n";
        gross += QByteArray(1 << 20, 'y');
        puffer.setData(gross);
        puffer.open(QIODevice::ReadOnly);
        Feldleser leser(&puffer);
        QCOMPARE(*leser.leseText(), QString("Titel"));
        QVERIFY(puffer.pos() <= 4096);
    }

    // Past the bound a field is damage: the reader keeps what it has, stops there, and has read
    // no further than the bound and one chunk.
    void grenze_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("felder");
        const qsizetype g = Feldleser::Grenze;
        const QByteArray voll(g, 'x');
        QTest::newRow("quoted field at the bound") << "\"" + voll + "\",b\r\n" << QStringList{voll, "b"};
        QTest::newRow("a quote that never closes") << "\"" + voll + "yyyy\",b" << QStringList{voll};
        QTest::newRow("unquoted field past the bound") << voll + "y,b" << QStringList{voll};
        QTest::newRow("garbage after the closing quote") << "\"a\"" + voll + "y,b" << QStringList{"a"};
        QTest::newRow("blanks past the bound") << QByteArray(g + 1, ' ') + "a" << QStringList{};
    }
    void grenze()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, felder);
        QBuffer puffer;
        // Whatever follows the damage is never reached.
        puffer.setData(bytes.endsWith('\n') ? bytes : bytes + QByteArray(1 << 20, 'z'));
        puffer.open(QIODevice::ReadOnly);
        Feldleser leser(&puffer);
        QStringList gelesen;
        while (const auto feld = leser.leseText())
            gelesen << *feld;
        QCOMPARE(gelesen, felder);
        QVERIFY(puffer.pos() <= Feldleser::Grenze + 2 * 4096);
    }

    void windows1252UmkehrbarFuerAlleBytes()
    {
        QByteArray alle;
        for (int b = 0; b < 256; ++b)
            alle.append(char(b));
        const QString text = Windows1252::dekodiere(alle);
        QCOMPARE(text.size(), 256);
        QCOMPARE(Windows1252::kodiere(text), alle);

        // Where the toolkit knows the code page, both agree on every byte.
        QStringDecoder qt("windows-1252");
        if (qt.isValid())
            QCOMPARE(text, QString(qt.decode(alle)));
        QCOMPARE(text.at(0x80), QChar(0x20AC));
        QCOMPARE(text.at(0x81), QChar(0x0081));
        QCOMPARE(Windows1252::kodiere(QString::fromUtf8("€ä→")), QByteArray("\x80\xE4?"));
    }
};

QTEST_GUILESS_MAIN(tst_Feldleser)
#include "tst_feldleser.moc"
