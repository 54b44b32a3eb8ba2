#include "Feldleser.h"
#include "Katalog.h"
#include "Programmordner.h"
#include "Pruefung.h"
#include "TestOrdner.h"
#include "main/frmMain.h"

#include <QBuffer>
#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <array>

// The catalogue that ships beside the program: every file loads completely through the
// program's own reader and holds questions a learner can trust.
namespace {

// Another folder may be checked by naming it in SELVAROT_KATALOG, as when a new edition is
// compared with the one before.
const QString kKatalog = qEnvironmentVariableIsSet("SELVAROT_KATALOG") ? qEnvironmentVariable("SELVAROT_KATALOG")
                                                                       : QStringLiteral(SELVAROT_KATALOG);

QByteArray lies(const QString& name)
{
    QFile f(kKatalog + '/' + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Windows-1252 as the trainer writes it: defined bytes only, no control characters but
// CR LF, every line ended by one.
QString pruefeBytes(const QByteArray& bytes)
{
    if (!bytes.endsWith("\r\n"))
        return "does not end with CR LF";
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            return QStringLiteral("undefined byte at %1").arg(i);
        if (b == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            return QStringLiteral("lone CR at %1").arg(i);
        if (b == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return QStringLiteral("lone LF at %1").arg(i);
        if (b < 0x20 && b != '\r' && b != '\n')
            return QStringLiteral("control byte at %1").arg(i);
    }
    return {};
}

int kopfAnzahl(const QByteArray& bytes)
{
    QBuffer puffer;
    puffer.setData(bytes);
    puffer.open(QIODevice::ReadOnly);
    Feldleser leser(&puffer);
    leser.leseText();
    leser.leseText();
    return leser.leseZahl().value_or(-1);
}

// Words that make a statement absolute. A learner who knows nothing of the subject still knows
// that such answers are mostly wrong, so they must not stand in the wrong answers alone.
const QStringList kAbsolut{"nur", "immer", "nie", "niemals", "ausschließlich", "stets"};

// Short words that say nothing of the subject, for the comparison of stem and answers.
const QSet<QString> kFuellwoerter{
    "eine",   "einer",   "einem",   "einen",   "eines",   "oder",  "nicht",  "wird",   "werden", "wenn", "dass",
    "welche", "welcher", "welches", "welchem", "welchen", "diese", "dieser", "dieses", "durch",  "kann", "muss",
    "darf",   "sind",    "haben",   "über",    "unter",   "soll",  "sollte", "auch",   "noch",   "dann", "sich",
    "ihre",   "ihrer",   "ihren",   "seine",   "seiner",  "sein",  "beim",   "gilt",   "gibt",   "hat",  "wann",
    "womit",  "wofür",   "woran",   "worauf",  "wozu",    "warum", "kein",   "keine",  "mehr"};

QStringList woerter(const QString& text)
{
    static const QRegularExpression trenner(QStringLiteral("[^\\p{L}\\p{N}]+"));
    return text.toLower().split(trenner, Qt::SkipEmptyParts);
}

// Words of four letters and more, cut to their first six so that inflected forms meet.
QSet<QString> staemme(const QString& text)
{
    QSet<QString> ergebnis;
    for (const QString& wort : woerter(text)) {
        if (wort.size() >= 4 && !kFuellwoerter.contains(wort))
            ergebnis.insert(wort.left(6));
    }
    return ergebnis;
}

bool absolut(const QString& text)
{
    const QStringList w = woerter(text);
    return std::any_of(kAbsolut.begin(), kAbsolut.end(), [&](const QString& a) { return w.contains(a); });
}

struct Form {
    int fragen = 0;
    QStringList laengste;      // the right answer is strictly the longest
    QStringList kuerzeste;     // the right answer is strictly the shortest
    QStringList absolutFalsch; // absolute words in wrong answers, none in the right one
    QStringList echo;          // a stem word recurs in the right answer and in no wrong one
};

QString anteil(int n, int von) { return QString::number(100.0 * n / qMax(von, 1), 'f', 1) + " %"; }

} // namespace

class tst_KatalogDateien : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Programmordner::setze(kKatalog);
        katalog().bildeDateiPfad();
    }

    void jedesThema_data()
    {
        QTest::addColumn<int>("nr");
        for (int nr = 1; nr <= 11; ++nr)
            QTest::addRow("QXV.%d", nr) << nr;
    }
    void jedesThema()
    {
        QFETCH(int, nr);
        const QByteArray bytes = lies(QStringLiteral("QXV.%1").arg(nr));
        QVERIFY2(!bytes.isEmpty(), "file missing");
        const QString fehler = pruefeBytes(bytes);
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));

        QCOMPARE(katalog().LadeThema(qint16(nr)), Katalog::Ladeergebnis::Geladen);
        const int n = katalog().AnzahlFragen;
        QVERIFY2(n >= 20 && n <= 30, qPrintable(QString::number(n)));
        QCOMPARE(kopfAnzahl(bytes), n);
        // One record a line after the header: nothing was dropped.
        QCOMPARE(int(bytes.count("\r\n")) - 1, n);

        std::array<int, 5> positionen{};
        for (int i = 1; i <= n; ++i) {
            const QString ort = QStringLiteral("question %1: %2").arg(i).arg(katalog().Frage(i));
            QVERIFY2(!katalog().Frage(i).trimmed().isEmpty(), qPrintable(ort));
            QVERIFY2(!katalog().Frage(i).contains("##"), qPrintable(ort));
            const int loesung = katalog().Loesung(i);
            QVERIFY2(loesung >= 1 && loesung <= 4, qPrintable(ort));
            ++positionen[loesung];
            QSet<QString> antworten;
            for (int k = 1; k <= 4; ++k) {
                QVERIFY2(!katalog().Antwort(i, k).trimmed().isEmpty(), qPrintable(ort));
                QVERIFY2(!katalog().Antwort(i, k).contains('#'), qPrintable(ort));
                antworten.insert(katalog().Antwort(i, k));
            }
            QVERIFY2(antworten.size() == 4, qPrintable(ort));
        }
        for (int k = 1; k <= 4; ++k) {
            const double anteil = double(positionen[k]) / n;
            QVERIFY2(anteil >= 0.15 && anteil <= 0.35,
                     qPrintable(QStringLiteral("answer %1 is correct in %2 of %3").arg(k).arg(positionen[k]).arg(n)));
        }
    }

    void ganzerKatalog()
    {
        QSet<QString> fragen;
        QSet<QString> titel;
        int alle = 0;
        katalog().LadeDateiListe();
        for (int nr = 1; nr <= 11; ++nr) {
            const QString t = katalog().DateiListe(nr);
            QVERIFY2(!t.isEmpty() && t.size() <= 30, qPrintable(t));
            titel.insert(t);
            katalog().LadeThema(qint16(nr));
            for (int i = 1; i <= katalog().AnzahlFragen; ++i) {
                QVERIFY2(!fragen.contains(katalog().Frage(i)), qPrintable(katalog().Frage(i)));
                fragen.insert(katalog().Frage(i));
                ++alle;
            }
        }
        QCOMPARE(titel.size(), 11);
        QVERIFY2(alle >= 250, qPrintable(QString::number(alle)));
    }

    // A learner must not find the right answer by its form alone: by being the longest, by
    // lacking the absolute words that the wrong ones carry, or by echoing the question. Each
    // figure is printed with its bar, so that an edition can be compared with the one before.
    void keineAntwortVerraetSichDurchIhreForm()
    {
        Form form;
        for (int nr = 1; nr <= 11; ++nr) {
            QCOMPARE(katalog().LadeThema(qint16(nr)), Katalog::Ladeergebnis::Geladen);
            for (int i = 1; i <= katalog().AnzahlFragen; ++i) {
                const int loesung = katalog().Loesung(i);
                const QString richtig = katalog().Antwort(i, loesung);
                const QString ort = QStringLiteral("QXV.%1/%2: %3").arg(nr).arg(i).arg(katalog().Frage(i));
                ++form.fragen;
                bool laengste = true;
                bool kuerzeste = true;
                bool absolutNurFalsch = false;
                QSet<QString> echo = staemme(katalog().Frage(i)) & staemme(richtig);
                for (int k = 1; k <= 4; ++k) {
                    if (k == loesung)
                        continue;
                    const QString falsch = katalog().Antwort(i, k);
                    laengste = laengste && richtig.size() > falsch.size();
                    kuerzeste = kuerzeste && richtig.size() < falsch.size();
                    absolutNurFalsch = absolutNurFalsch || absolut(falsch);
                    echo -= staemme(falsch);
                }
                if (laengste)
                    form.laengste << ort;
                if (kuerzeste)
                    form.kuerzeste << ort;
                if (absolutNurFalsch && !absolut(richtig))
                    form.absolutFalsch << ort;
                if (!echo.isEmpty())
                    form.echo << ort + "  [" + QStringList(echo.values()).join(", ") + "]";
            }
        }
        const auto zeige = [&](const char* was, const QStringList& faelle, double von, double bis) {
            const QString schranke = von > 0 ? QStringLiteral("%1 % to %2 %").arg(von * 100).arg(bis * 100)
                                             : QStringLiteral("at most %1 %").arg(bis * 100);
            qInfo().noquote() << was << faelle.size() << "of" << form.fragen << "="
                              << anteil(faelle.size(), form.fragen) << "(bar" << schranke + ")";
            if (qEnvironmentVariableIsSet("SELVAROT_KATALOG_FAELLE")) {
                for (const QString& fall : faelle)
                    qInfo().noquote() << "   " << fall;
            }
            return faelle.size() >= von * form.fragen && faelle.size() <= bis * form.fragen;
        };
        // The longest answer must not be the right one too often, nor never: a learner who
        // knew that the longest is always wrong would win by form as well.
        const bool laengsteOk = zeige("right answer strictly the longest:", form.laengste, 0.15, 0.30);
        const bool kuerzesteOk = zeige("right answer strictly the shortest:", form.kuerzeste, 0, 0.30);
        const bool absolutOk = zeige("absolute words in wrong answers only:", form.absolutFalsch, 0, 0.05);
        const bool echoOk = zeige("stem word echoed by the right answer only:", form.echo, 0, 0.05);
        QVERIFY(laengsteOk);
        QVERIFY(kuerzesteOk);
        QVERIFY(absolutOk);
        QVERIFY(echoOk);
    }

    // Every title fits the topic list of the main window without being cut.
    void titelPassenInDieListe()
    {
        TestOrdner ordner;
        for (int nr = 1; nr <= 11; ++nr)
            ordner.schreibe(QStringLiteral("QXV.%1").arg(nr), lies(QStringLiteral("QXV.%1").arg(nr)));
        ordner.schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
        frmMain fenster;
        fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenster));
        const int breite = fenster.LView->viewport()->width();
        for (int i = 0; i < fenster.LView->count(); ++i) {
            const QRect platz = fenster.LView->visualItemRect(fenster.LView->item(i));
            QVERIFY2(platz.right() < breite, qPrintable(fenster.LView->item(i)->text()));
        }
        QCOMPARE(fenster.LView->horizontalScrollBar()->maximum(), 0);
        fenster.close();
        Programmordner::setze(kKatalog);
        katalog().bildeDateiPfad();
    }

    // The shipped exam rules are those that Readme.txt shows, and read as the exam has them.
    void pruefungsregeln()
    {
        const QByteArray readme = lies(QStringLiteral("Readme.txt"));
        const qsizetype anfang = readme.indexOf("--- Regeln Anfang ---\r\n");
        const qsizetype ende = readme.indexOf("--- Regeln Ende ---");
        QVERIFY(anfang >= 0 && ende > anfang);
        QByteArray beispiel = readme.mid(anfang, ende - anfang);
        beispiel = beispiel.mid(beispiel.indexOf('\n') + 1).replace("\r\n  ", "\r\n");
        QCOMPARE("  " + lies(QStringLiteral("PRUEFUNG.QXV")), beispiel);
        const Pruefungsregel regel = Pruefungsregel::ausDatei(kKatalog + QStringLiteral("/PRUEFUNG.QXV"));
        QCOMPARE(regel.fragen, 24);
        QCOMPARE(regel.minuten, 30);
        QCOMPARE(regel.maxFalsch, 5);
        QCOMPARE(regel.heute, 20);
    }

    // The example in Readme.txt is a topic file that loads as it stands.
    void readmeBeispiel()
    {
        const QByteArray readme = lies(QStringLiteral("Readme.txt"));
        const QString fehler = pruefeBytes(readme);
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
        const qsizetype anfang = readme.indexOf("--- Beispiel Anfang ---\r\n");
        const qsizetype ende = readme.indexOf("--- Beispiel Ende ---");
        QVERIFY(anfang >= 0 && ende > anfang);
        QByteArray beispiel;
        const QList<QByteArray> zeilen = readme.mid(anfang, ende - anfang).split('\n');
        for (QByteArray zeile : zeilen.mid(1)) {
            if (zeile.trimmed().isEmpty())
                continue;
            QVERIFY2(zeile.startsWith("  "), zeile.constData());
            beispiel += zeile.mid(2).chopped(1) + "\r\n";
        }
        TestOrdner ordner;
        ordner.schreibe("QXV.1", beispiel);
        katalog().bildeDateiPfad();
        QCOMPARE(katalog().LadeThema(1), Katalog::Ladeergebnis::Geladen);
        QVERIFY(katalog().AnzahlFragen >= 1);
        QCOMPARE(int(katalog().AnzahlFragen), kopfAnzahl(beispiel));
        for (int i = 1; i <= katalog().AnzahlFragen; ++i)
            QVERIFY(katalog().Loesung(i) >= 1 && katalog().Loesung(i) <= 4);
    }
};

QTEST_MAIN(tst_KatalogDateien)
#include "tst_katalogdateien.moc"
