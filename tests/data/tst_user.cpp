#include "Benutzerordner.h"
#include "KnapperPuffer.h"
#include "Programmordner.h"
#include "TestOrdner.h"
#include "User.h"
#include "Verlauf.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QList<int> kElfEinsen(11, 1);

} // namespace

class tst_User : public QObject {
    Q_OBJECT
private slots:
    void init() { m_ordner = std::make_unique<TestOrdner>(); }
    void cleanup() { m_ordner.reset(); }

    void ersterStart()
    {
        Benutzer().setzeErgebnis(3, 4);
        int hinweise = 0;
        QVERIFY(!User::LadeBenutzer([&] { ++hinweise; }));
        QCOMPARE(hinweise, 1);
        QCOMPARE(Benutzer(), Benutzerwertung());
        QCOMPARE(Benutzer().Ergebnis(3), qint16(1));
        QCOMPARE(Benutzer().Kopf1, QString(" "));

        QVERIFY(User::SpeichereBenutzer());
        QCOMPARE(m_ordner->lies("USER.QXV"),
                 QByteArray("\" \",\" \"\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n"));
        QCOMPARE(m_ordner->lies("USER.QXV"), userDatei(kElfEinsen));
    }

    void noten()
    {
        m_ordner->schreibe("USER.QXV", userDatei({1, 4, 2, 3, 1, 1, 1, 1, 1, 1, 2}));
        int hinweise = 0;
        QVERIFY(User::LadeBenutzer([&] { ++hinweise; }));
        QCOMPARE(hinweise, 0);
        QCOMPARE(Benutzer().Ergebnis(1), qint16(1));
        QCOMPARE(Benutzer().Ergebnis(2), qint16(4));
        QCOMPARE(Benutzer().Ergebnis(3), qint16(2));
        QCOMPARE(Benutzer().Ergebnis(11), qint16(2));
        QCOMPARE(Benutzer().Ergebnis(0), qint16(0));
        QCOMPARE(Benutzer().Ergebnis(12), qint16(0));
    }

    // Whatever the first line holds comes back byte for byte, and so do odd grades.
    void rundreiseByteGenau_data()
    {
        QTest::addColumn<QByteArray>("datei");
        QByteArray hoch;
        for (int b = 0x80; b <= 0xFF; ++b)
            hoch.append(char(b));
        QTest::newRow("defaults") << userDatei(kElfEinsen);
        QTest::newRow("other texts") << userDatei({4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2}, "Kapit\xE4n Frank",
                                                  "Kurs 2026, Herbst");
        QTest::newRow("bytes 0x80 to 0xFF") << userDatei(kElfEinsen, hoch, hoch.left(10));
        QTest::newRow("empty texts") << userDatei(kElfEinsen, "", "");
        QTest::newRow("odd grades") << userDatei({0, -3, 5, 32767, -32768, 1, 1, 1, 1, 1, 9});
        QTest::newRow("line end inside a quoted text") << userDatei(kElfEinsen, "a\r\nb", "c");
    }
    void rundreiseByteGenau()
    {
        QFETCH(QByteArray, datei);
        m_ordner->schreibe("USER.QXV", datei);
        QVERIFY(User::LadeBenutzer({}));
        QVERIFY(User::SpeichereBenutzer());
        QCOMPARE(m_ordner->lies("USER.QXV"), datei);
    }

    void beschaedigt_data()
    {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<bool>("gelesen");
        QTest::addColumn<QList<int>>("noten");

        QTest::newRow("only five grades") << userDatei({4, 4, 4, 4, 4}) << false << kElfEinsen;
        QTest::newRow("empty file") << QByteArray() << false << kElfEinsen;
        QTest::newRow("only the first line") << QByteArray("\"a\",\"b\"\r\n") << false << kElfEinsen;
        QTest::newRow("text where a grade belongs")
            << QByteArray("\" \",\" \"\r\nzwei\r\n") + QByteArray("2\r\n").repeated(10) << true
            << QList<int>{0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2};
        QTest::newRow("more than twelve lines") << userDatei({3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3}) + "4\r\nMüll\r\n"
                                                << true << QList<int>(11, 3);
        QTest::newRow("lines split differently") << QByteArray("\"a\",\"b\",1,2,3,4\r\n1,2,3,4\r\n1,2,3") << true
                                                 << QList<int>{1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3};
    }
    void beschaedigt()
    {
        QFETCH(QByteArray, datei);
        QFETCH(bool, gelesen);
        QFETCH(QList<int>, noten);
        m_ordner->schreibe("USER.QXV", datei);
        m_ordner->schreibe("USER.QXV.defekt", "eine ältere Kopie");
        int hinweise = 0;
        QCOMPARE(User::LadeBenutzer([&] { ++hinweise; }), gelesen);
        QCOMPARE(hinweise, gelesen ? 0 : 1);
        for (int i = 1; i <= 11; ++i)
            QCOMPARE(int(Benutzer().Ergebnis(i)), noten.at(i - 1));

        // The next save repairs a damaged file and drops what stood after the twelfth line. A file
        // that could not be read is kept as USER.QXV.defekt first, the older copy replaced; one
        // that reads leaves no copy.
        QVERIFY(User::SpeichereBenutzer());
        QByteArray erwartet = userDatei(noten);
        if (gelesen)
            erwartet = Benutzer().alsDatei();
        QCOMPARE(m_ordner->lies("USER.QXV"), erwartet);
        QCOMPARE(m_ordner->lies("USER.QXV.defekt"), gelesen ? QByteArray("eine ältere Kopie") : datei);
    }

    void kurzesSchreibenGiltAlsFehler()
    {
        Benutzer().setzeErgebnis(1, 4);
        KnapperPuffer knapp(10);
        knapp.open(QIODevice::WriteOnly);
        QVERIFY(!User::schreibe(Benutzer(), knapp));

        QBuffer genug;
        genug.open(QIODevice::WriteOnly);
        QVERIFY(User::schreibe(Benutzer(), genug));
        QCOMPARE(genug.data(), Benutzer().alsDatei());
    }

    // A folder where the file should be: the save fails, says why, and leaves it alone.
    void speichernScheitertAnOrdner()
    {
        QVERIFY(QDir(m_ordner->pfad()).mkdir("USER.QXV"));
        QString fehler;
        QVERIFY(!User::SpeichereBenutzer(&fehler));
        QVERIFY(!fehler.isEmpty());
        QVERIFY(QFileInfo(m_ordner->datei("USER.QXV")).isDir());
    }

    // Where USER.QXV lives. A write-protected program folder cannot be made for an administrator,
    // as the tests run in CI, so the probe of the folder answers for it; the files are real.
    void ortDerBenutzerdatei_data()
    {
        QTest::addColumn<bool>("ordnerBeschreibbar");
        QTest::addColumn<QByteArray>("imProgrammordner"); // empty: no USER.QXV there
        QTest::addColumn<bool>("dateiBeschreibbar");
        QTest::addColumn<QByteArray>("imDatenordner");
        QTest::addColumn<bool>("ersterStart");
        QTest::addColumn<QString>("gespeichertIn");

        const QByteArray admin = userDatei({4, 3, 2, 1, 1, 1, 1, 1, 1, 1, 1}, "Kurs", "2026");
        const QByteArray eigene = userDatei({2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2});
        QTest::newRow("writable folder, no file") << true << QByteArray() << true << QByteArray() << true << "programm";
        QTest::newRow("writable folder and file") << true << admin << true << eigene << false << "programm";
        QTest::newRow("protected folder, no file") << false << QByteArray() << true << QByteArray() << true << "daten";
        QTest::newRow("protected folder, read-only file seeds the learner")
            << false << admin << false << QByteArray() << false << "daten";
        QTest::newRow("protected folder, the learner's own writable file")
            << false << admin << true << QByteArray() << false << "daten";
        QTest::newRow("writable folder, read-only file") << true << admin << false << QByteArray() << false << "daten";
        QTest::newRow("the learner's file wins over the seed") << false << admin << false << eigene << false << "daten";
    }
    void ortDerBenutzerdatei()
    {
        QFETCH(bool, ordnerBeschreibbar);
        QFETCH(QByteArray, imProgrammordner);
        QFETCH(bool, dateiBeschreibbar);
        QFETCH(QByteArray, imDatenordner);
        QFETCH(bool, ersterStart);
        QFETCH(QString, gespeichertIn);

        if (!imProgrammordner.isEmpty())
            m_ordner->schreibe("USER.QXV", imProgrammordner);
        if (!imDatenordner.isEmpty()) {
            QVERIFY(QDir(m_ordner->pfad()).mkdir("Daten"));
            m_ordner->schreibe("Daten/USER.QXV", imDatenordner);
        }
        Benutzerordner::setzePruefer(
            [&](const QString&, bool istOrdner) { return istOrdner ? ordnerBeschreibbar : dateiBeschreibbar; });
        Benutzerordner::bestimme();

        int hinweise = 0;
        QCOMPARE(User::LadeBenutzer([&] { ++hinweise; }), !ersterStart);
        QCOMPARE(hinweise, ersterStart ? 1 : 0);
        const QByteArray gelesen = !imDatenordner.isEmpty() && gespeichertIn == "daten" ? imDatenordner
                                   : ersterStart                                        ? userDatei(kElfEinsen)
                                                                                        : imProgrammordner;
        QCOMPARE(Benutzer().alsDatei(), gelesen);

        Benutzer().setzeErgebnis(11, 3);
        QVERIFY(User::SpeichereBenutzer());
        const QString ziel = gespeichertIn == "daten" ? "Daten/USER.QXV" : "USER.QXV";
        QCOMPARE(User::dateiname(), QDir::toNativeSeparators(m_ordner->datei(ziel)));
        QCOMPARE(m_ordner->lies(ziel), Benutzer().alsDatei());
        // The other place is never written: a seed stays as the administrator left it.
        if (gespeichertIn == "daten")
            QCOMPARE(m_ordner->lies("USER.QXV"), imProgrammordner);
        else
            QCOMPARE(m_ordner->lies("Daten/USER.QXV"), imDatenordner);
    }

    // A data folder that cannot be made (a file in its place): the save fails, nothing is lost,
    // and the program folder's copy is left alone.
    void datenordnerNichtAnlegbar()
    {
        const QByteArray admin = userDatei({4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4});
        m_ordner->schreibe("USER.QXV", admin);
        m_ordner->schreibe("Daten", "kein Ordner");
        Benutzerordner::setzePruefer([](const QString&, bool) { return false; });
        Benutzerordner::bestimme();
        QVERIFY(User::LadeBenutzer({}));
        QString fehler;
        QVERIFY(!User::SpeichereBenutzer(&fehler));
        QVERIFY(fehler.contains("Daten"));
        QCOMPARE(m_ordner->lies("Daten"), QByteArray("kein Ordner"));
        QCOMPARE(m_ordner->lies("USER.QXV"), admin);
    }

    // The real probe makes a file in the folder to find out, and takes it away again.
    void probeHinterlaesstNichts()
    {
        Benutzerordner::bestimme();
        QCOMPARE(Benutzerordner::ort(), Benutzerordner::Ort::Programmordner);
        QVERIFY(QDir(m_ordner->pfad()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
        Programmordner::setze(m_ordner->datei("gibt es nicht"));
        Benutzerordner::bestimme();
        QCOMPARE(Benutzerordner::ort(), Benutzerordner::Ort::Datenordner);
    }

    // Another writer changed the file since the start (a second trainer, another computer on a
    // shared folder): the save writes only this run's topics over what the file holds now, keeps
    // its texts, and the program's record becomes what was written.
    void zweiterSchreiber()
    {
        m_ordner->schreibe("USER.QXV", userDatei(kElfEinsen, "a", "b"));
        QVERIFY(User::LadeBenutzer({}));
        Benutzer().setzeErgebnis(4, 4);
        QVERIFY(User::SpeichereBenutzer());
        m_ordner->schreibe("USER.QXV", userDatei({1, 1, 1, 1, 3, 1, 1, 1, 1, 1, 2}, "c", "d"));
        Benutzer().setzeErgebnis(6, 2);
        QVERIFY(User::SpeichereBenutzer());
        const QByteArray erwartet = userDatei({1, 1, 1, 4, 3, 2, 1, 1, 1, 1, 2}, "c", "d");
        QCOMPARE(m_ordner->lies("USER.QXV"), erwartet);
        QCOMPARE(Benutzer().alsDatei(), erwartet);
    }

    // The learner's data folder by the XDG base directory rules: a relative path counts as
    // not set, and without a home nothing is known.
    void datenordnerNachXdg_data()
    {
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<QString>("heim");
        QTest::addColumn<QString>("ordner");
        const QString app = "/" + QCoreApplication::applicationName();
        QTest::newRow("home only") << "" << "/home/lea" << "/home/lea/.local/share" + app;
        QTest::newRow("XDG_DATA_HOME first") << "/daten/lea" << "/home/lea" << "/daten/lea" + app;
        QTest::newRow("relative XDG_DATA_HOME ignored") << "daten" << "/home/lea" << "/home/lea/.local/share" + app;
        QTest::newRow("XDG_DATA_HOME without a home") << "/daten/lea" << "" << "/daten/lea" + app;
        QTest::newRow("no home") << "" << "" << "";
        QTest::newRow("relative home, relative XDG_DATA_HOME") << "daten" << "heim" << "";
    }
    void datenordnerNachXdg()
    {
        QFETCH(QString, xdg);
        QFETCH(QString, heim);
        QFETCH(QString, ordner);
        QCOMPARE(Benutzerordner::nachXdg(xdg, heim), ordner);
    }

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Without a home and a write-protected program folder, grades and history are written
    // nowhere, not under "/" nor the current folder; the program folder's grades are read.
    void ohneHeimNirgendwohin()
    {
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 3)));
        const QByteArray heim = qgetenv("HOME"), xdg = qgetenv("XDG_DATA_HOME");
        qunsetenv("HOME");
        qputenv("XDG_DATA_HOME", "relativ");
        Benutzerordner::setzeDatenordner(QString());
        Benutzerordner::setzePruefer([](const QString&, bool) { return false; });
        Benutzerordner::bestimme();
        const QString pfad = Benutzerordner::pfad();
        const bool gelesen = User::LadeBenutzer({});
        Benutzer().setzeErgebnis(1, 4);
        const bool gespeichert = User::SpeichereBenutzer();
        const QString name = User::dateiname();
        qputenv("HOME", heim);
        qputenv("XDG_DATA_HOME", xdg);
        QVERIFY(pfad.isEmpty());
        QVERIFY(gelesen);
        QVERIFY(!gespeichert);
        QVERIFY(name.isEmpty());
        QCOMPARE(m_ordner->lies("USER.QXV"), userDatei(QList<int>(11, 3)));
        QVERIFY(!QFileInfo::exists("relativ"));
    }
#endif

#ifdef Q_OS_UNIX
    // USER.QXV and VERLAUF.QXV as links, or someone else's: in a folder that others may write,
    // neither is written, and the learner is told why; in a folder of their own a link is
    // followed, also to a history yet to be made.
    void geteilterOrdner_data()
    {
        QTest::addColumn<int>("rechte");
        QTest::addColumn<bool>("verweis");
        QTest::addColumn<bool>("geschrieben");
        QTest::newRow("own folder, links") << 0700 << true << true;
        QTest::newRow("shared folder, links") << 0777 << true << false;
        QTest::newRow("group's folder, links") << 0770 << true << false;
        QTest::newRow("shared with sticky bit, links") << 01777 << true << true;
        QTest::newRow("shared folder, someone else's files") << 0777 << false << false;
        QTest::newRow("own folder, someone else's files") << 0700 << false << true;
    }
    void geteilterOrdner()
    {
        QFETCH(int, rechte);
        QFETCH(bool, verweis);
        QFETCH(bool, geschrieben);
        const QByteArray alt = userDatei(QList<int>(11, 2));
        // Linked: USER.QXV to a file elsewhere, VERLAUF.QXV to one that is not there yet.
        const QString user = verweis ? "anderswo" : "USER.QXV", verlauf = verweis ? "verlauf" : "VERLAUF.QXV";
        m_ordner->schreibe(user, alt);
        if (verweis) {
            QVERIFY(QFile::link(m_ordner->datei(user), m_ordner->datei("USER.QXV")));
            QVERIFY(QFile::link(m_ordner->datei(verlauf), m_ordner->datei("VERLAUF.QXV")));
        } else {
            m_ordner->schreibe(verlauf, "");
            for (const QString& name : {user, verlauf})
                if (::chown(QFile::encodeName(m_ordner->datei(name)).constData(), 65534, 65534) != 0)
                    QSKIP("giving a file to another user needs root");
        }
        QVERIFY(User::LadeBenutzer({}));
        Benutzer().setzeErgebnis(1, 4);
        const QByteArray ordner = QFile::encodeName(m_ordner->pfad());
        QCOMPARE(::chmod(ordner.constData(), mode_t(rechte)), 0);
        QString grund;
        const bool gespeichert = User::SpeichereBenutzer(nullptr, &grund);
        Verlauf::Schreiber schreiber(Verlauf::Modus::Abfrage);
        const bool angehaengt = schreiber.schreibe(1, "00000000000000aa", 1, true);
        ::chmod(ordner.constData(), 0700);
        QCOMPARE(gespeichert, geschrieben);
        QCOMPARE(angehaengt, geschrieben);
        const QString warum = geschrieben ? "" : verweis ? "symbolischer Verweis" : "einem anderen Benutzer";
        QCOMPARE(grund.isEmpty(), geschrieben);
        QVERIFY2(grund.contains(warum), qPrintable(grund));
        QCOMPARE(schreiber.grund().isEmpty(), geschrieben);
        QVERIFY2(schreiber.grund().contains(warum), qPrintable(schreiber.grund()));
        QCOMPARE(m_ordner->lies(user), geschrieben ? userDatei({4, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}) : alt);
        QCOMPARE(m_ordner->lies(verlauf).count("\r\n"), geschrieben ? 1 : 0);
        QCOMPARE(QFileInfo(m_ordner->datei("USER.QXV")).isSymLink(), verweis);
        QCOMPARE(QFileInfo(m_ordner->datei("VERLAUF.QXV")).isSymLink(), verweis);
    }
#endif

#ifdef Q_OS_LINUX
    // A file-size limit stops the write midway: the old file stays as it was, byte for byte.
    void speichernScheitertMittendrin()
    {
        const QByteArray alt = userDatei({4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4}, "alt", "alt");
        m_ordner->schreibe("USER.QXV", alt);
        QVERIFY(User::LadeBenutzer({}));
        Benutzer().setzeErgebnis(1, 2);

        rlimit vorher{};
        getrlimit(RLIMIT_FSIZE, &vorher);
        const auto signalVorher = std::signal(SIGXFSZ, SIG_IGN);
        rlimit knapp = vorher;
        knapp.rlim_cur = 20;
        setrlimit(RLIMIT_FSIZE, &knapp);
        const bool ok = User::SpeichereBenutzer();
        setrlimit(RLIMIT_FSIZE, &vorher);
        std::signal(SIGXFSZ, signalVorher);

        QVERIFY(!ok);
        QCOMPARE(m_ordner->lies("USER.QXV"), alt);
        QCOMPARE(QDir(m_ordner->pfad()).entryList(QDir::Files), QStringList{"USER.QXV"});
    }
#endif

private:
    std::unique_ptr<TestOrdner> m_ordner;
};

QTEST_GUILESS_MAIN(tst_User)
#include "tst_user.moc"
