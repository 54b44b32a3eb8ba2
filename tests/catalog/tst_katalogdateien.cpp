#include "Erlaeuterungen.h"
#include "Feldleser.h"
#include "Gesamtkatalog.h"
#include "Katalog.h"
#include "Laufstand.h"
#include "Programmordner.h"
#include "Pruefung.h"
#include "TestOrdner.h"
#include "Textfeld.h"
#include "Windows1252.h"
#include "learn/frmLernen.h"
#include "main/frmMain.h"
#include "practice/frmPruefung.h"
#include "quiz/Bildfeld.h"
#include "quiz/frmAbfrage.h"

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

// Where a text box hides part of its text: the height down to the foot of its last line
// against the height it shows. (The blank margin below the last line may be cut off.)
QString zuHoch(const Textfeld* feld, const QString& ort)
{
    const double noetig = feld->document()->size().height() - feld->document()->documentMargin();
    if (noetig <= feld->viewport()->height())
        return {};
    return QStringLiteral("%1: needs %2 px, has %3 px").arg(ort).arg(noetig).arg(feld->viewport()->height());
}

// Prints the cases and says whether there are none.
bool keineFaelle(const char* was, const QStringList& faelle)
{
    qInfo().noquote() << was << faelle.size();
    for (const QString& fall : faelle)
        qInfo().noquote() << "   " << fall;
    return faelle.isEmpty();
}

QString anteil(int n, int von) { return QString::number(100.0 * n / qMax(von, 1), 'f', 1) + " %"; }

// The lines between "--- <name> Anfang ---" and "--- <name> Ende ---" of Readme.txt, without the
// two blanks each is indented by there; empty if a line is not indented so.
QByteArray readmeBlock(const QByteArray& readme, const QString& name)
{
    const qsizetype anfang = readme.indexOf("--- " + Windows1252::kodiere(name) + " Anfang ---\r\n");
    const qsizetype ende = readme.indexOf("--- " + Windows1252::kodiere(name) + " Ende ---");
    if (anfang < 0 || ende < anfang)
        return {};
    QByteArray block;
    for (const QByteArray& zeile : readme.mid(anfang, ende - anfang).split('\n').mid(1)) {
        if (zeile.trimmed().isEmpty())
            continue;
        if (!zeile.startsWith("  "))
            return {};
        block += zeile.mid(2).chopped(1) + "\r\n";
    }
    return block;
}

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

    // Every shipped question fits the question box, and every answer its box, in the quiz
    // window, the learn window and the exam sheet, laid out by the toolkit in the windows' own
    // font: a learner never has to scroll to read a question or to tell two answers apart.
    // A course's own topic file may need the scroll bar; that is what it is for.
    void allesPasstInSeinFeld()
    {
        const Gesamtkatalog gesamt = Gesamtkatalog::lade();
        QList<Katalogfrage> alle;
        QList<Bogenfrage> bogen;
        for (int t = 1; t <= 11; ++t) {
            for (const Katalogfrage& f : gesamt.fragen[t]) {
                alle << f;
                bogen.append({t, f.nummer});
            }
        }
        QVERIFY(!alle.isEmpty());
        QStringList faelle;
        const auto ort = [](const Katalogfrage& f, const char* fenster, const QString& was) {
            return QStringLiteral("QXV.%1/%2 %3, %4").arg(f.thema).arg(f.nummer).arg(was, QLatin1String(fenster));
        };

        frmAbfrage abfrage(nullptr, alle, gesamt.titel, Verlauf::Modus::Abfrage);
        abfrage.show();
        QVERIFY(QTest::qWaitForWindowExposed(&abfrage));
        for (int i = 0; i < alle.size(); ++i) {
            lauf().AktFrage = qint16(i + 1);
            abfrage.ZeigeFrage();
            faelle << zuHoch(abfrage.bez_Frage, ort(alle[i], "quiz window", "question"));
            for (int n = 1; n <= 4; ++n)
                faelle << zuHoch(abfrage.Text_Antwort[n],
                                 ort(alle[i], "quiz window", "answer " + abfrage.Img_Kasten[n]->Tag));
        }
        abfrage.close();

        frmPruefung pruefung(nullptr, gesamt, Pruefungsregel(), bogen);
        pruefung.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pruefung));
        for (int i = 0; i < bogen.size(); ++i) {
            pruefung.zeigeFrage(i);
            faelle << zuHoch(pruefung.bez_Frage, ort(alle[i], "exam sheet", "question"));
            for (int n = 1; n <= 4; ++n)
                faelle << zuHoch(pruefung.Text_Antwort[n],
                                 ort(alle[i], "exam sheet", "answer " + pruefung.Img_Kasten[n]->Tag));
        }
        pruefung.close();

        for (int t = 1; t <= 11; ++t) {
            QCOMPARE(katalog().LadeThema(qint16(t)), Katalog::Ladeergebnis::Geladen);
            frmLernen lernen;
            lernen.show();
            QVERIFY(QTest::qWaitForWindowExposed(&lernen));
            for (int n = 1; n <= katalog().AnzahlFragen; ++n) {
                lauf().AktFrage = qint16(n);
                lernen.ZeigeFrage();
                lernen.ZeigeAntwort();
                const Katalogfrage f = Katalogfrage::ausBank(katalog(), n);
                faelle << zuHoch(lernen.Text_Frage, ort(f, "learn window", "question"))
                       << zuHoch(lernen.Text_Antwort, ort(f, "learn window", "right answer"));
            }
            lernen.close();
        }
        faelle.removeAll(QString());
        QVERIFY(keineFaelle("texts that need a scroll bar:", faelle));
    }

    // Every shipped question is explained, briefly, in its own words: an explanation that only
    // repeats the right answer teaches nothing. Records that match no question would never show.
    void jedeFrageHatEineErlaeuterung()
    {
        QStringList faelle;
        for (int t = 1; t <= 11; ++t) {
            const QString name = QStringLiteral("QXV.%1.ERL").arg(t);
            const QByteArray bytes = lies(name);
            if (const QString fehler = bytes.isEmpty() ? QStringLiteral("missing") : pruefeBytes(bytes); !fehler.isEmpty()) {
                faelle << name + ": " + fehler;
                continue;
            }
            QBuffer puffer;
            puffer.setData(bytes);
            puffer.open(QIODevice::ReadOnly);
            const Erlaeuterungen datei = Erlaeuterungen::lese(puffer);
            QList<Erlaeuterungen::Eintrag> eintraege = datei.eintraege();
            QCOMPARE(katalog().LadeThema(qint16(t)), Katalog::Ladeergebnis::Geladen);
            if (kopfAnzahl(bytes) != eintraege.size() || bytes.count("\r\n") - 1 != eintraege.size())
                faelle << name + ": the header's count, the lines and the records differ";
            for (int n = 1; n <= katalog().AnzahlFragen; ++n) {
                const Katalogfrage f = Katalogfrage::ausBank(katalog(), n);
                const QString ort = QStringLiteral("QXV.%1/%2").arg(t).arg(n);
                const auto e = datei.suche(f.frage, f.richtigeAntwort());
                if (!e) {
                    faelle << ort + ": no explanation";
                    continue;
                }
                eintraege.removeIf([&](const Erlaeuterungen::Eintrag& x) { return x.frage.simplified() == f.frage.simplified(); });
                const QString text = e->text.simplified();
                if (text.size() > 500)
                    faelle << ort + QStringLiteral(": explanation of %1 characters").arg(text.size());
                // A short answer ("Kanal 16") may well be named; a longer one must not be restated.
                const QString richtig = f.richtigeAntwort().simplified();
                if (richtig.count(' ') >= 2 && text.contains(richtig, Qt::CaseInsensitive))
                    faelle << ort + ": explanation repeats the right answer word for word";
            }
            for (const Erlaeuterungen::Eintrag& x : eintraege)
                faelle << name + ": record for no question: " + x.frage.left(60);
        }
        QVERIFY(keineFaelle("questions not explained as they should be:", faelle));
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

    // The explanations in Readme.txt explain every question of its topic example, as the program
    // reads them, each with a source and without repeating its right answer.
    void readmeErlaeuterungen()
    {
        const QByteArray readme = lies(QStringLiteral("Readme.txt"));
        const QByteArray thema = readmeBlock(readme, "Beispiel");
        const QByteArray erlaeuterungen = readmeBlock(readme, "Erläuterungen");
        QVERIFY(!thema.isEmpty() && !erlaeuterungen.isEmpty());
        TestOrdner ordner;
        ordner.schreibe("QXV.1", thema);
        ordner.schreibe("QXV.1.ERL", erlaeuterungen);
        katalog().bildeDateiPfad();
        QCOMPARE(katalog().LadeThema(1), Katalog::Ladeergebnis::Geladen);
        const Erlaeuterungen erl = Erlaeuterungen::ausDatei(1);
        QCOMPARE(int(erl.eintraege().size()), int(katalog().AnzahlFragen));
        for (int i = 1; i <= katalog().AnzahlFragen; ++i) {
            const QString richtig = katalog().Antwort(i, katalog().Loesung(i));
            const auto e = erl.suche(katalog().Frage(i), richtig);
            QVERIFY2(e && !e->quelle.isEmpty(), qPrintable(katalog().Frage(i)));
            QVERIFY2(!e->text.contains(richtig.simplified()), qPrintable(e->text));
        }
    }
};

QTEST_MAIN(tst_KatalogDateien)
#include "tst_katalogdateien.moc"
