#include "Katalog.h"
#include "Meldung.h"
#include "Modal.h"
#include "Programmordner.h"
#include "TestOrdner.h"
#include "User.h"
#include "Verlauf.h"
#include "main/frmMain.h"

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// Files cut short, files users edited by hand, and saves that fail: the trainer neither
// crashes nor loses the grades that were there.
namespace {

const QString kKatalog = QStringLiteral(SELVAROT_KATALOG);

QByteArray lies(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ladeThema(Katalog& bank, const QByteArray& bytes)
{
    QBuffer puffer;
    puffer.setData(bytes);
    puffer.open(QIODevice::ReadOnly);
    bank.LadeThema(puffer, 1);
}

// Where each record's number of the correct answer starts: a record counts once the first
// byte of that number is there. The files hold one record a line, the header first.
QList<qsizetype> loesungsAnfaenge(const QByteArray& bytes)
{
    QList<qsizetype> anfaenge;
    qsizetype zeile = bytes.indexOf("\r\n") + 2;
    while (zeile < bytes.size()) {
        const qsizetype ende = bytes.indexOf("\r\n", zeile);
        anfaenge << bytes.lastIndexOf(',', ende) + 1;
        zeile = ende + 2;
    }
    return anfaenge;
}

const QByteArray kAlteWertung = userDatei({4, 3, 2, 4, 3, 2, 4, 3, 2, 4, 3}, "Kapit\xE4n", "Kurs 2026, Herbst");

#ifdef Q_OS_LINUX
// A file-size limit for this process, as a quota or a full disk would stop a write midway.
class Groessengrenze {
public:
    explicit Groessengrenze(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_vorher);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit knapp = m_vorher;
        knapp.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &knapp);
    }
    ~Groessengrenze()
    {
        setrlimit(RLIMIT_FSIZE, &m_vorher);
        std::signal(SIGXFSZ, m_signal);
    }

private:
    rlimit m_vorher{};
    void (*m_signal)(int);
};

// What was put on the disk, in order: the test program's own fdatasync() stands in for the
// C library's and notes its calls here, as rename() does.
QStringList g_folge;

// While set, putting a finished file in place fails, as it does when the disk goes away
// between writing and renaming. The test program's own rename() stands in for the C
// library's, which the toolkit calls.
bool g_umbenennenScheitert = false;

// Sets or clears the immutable flag of a file; false where the file system or the user's
// rights do not allow it.
bool unveraenderlich(const QString& pfad, bool an)
{
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = an ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
}
#endif

} // namespace

#ifdef Q_OS_LINUX
extern "C" int fdatasync(int fd)
{
    g_folge << QStringLiteral("sync");
    static const auto echt = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fdatasync"));
    return echt(fd);
}

extern "C" int rename(const char* alt, const char* neu)
{
    g_folge << QStringLiteral("rename ") + QFileInfo(QFile::decodeName(neu)).fileName();
    if (g_umbenennenScheitert) {
        errno = EIO;
        return -1;
    }
    static const auto echt = reinterpret_cast<int (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "rename"));
    return echt(alt, neu);
}
#endif

class tst_Robust : public QObject {
    Q_OBJECT
private slots:
    void init() { m_ordner = std::make_unique<TestOrdner>(); }
    void cleanup()
    {
#ifdef Q_OS_LINUX
        if (!m_immutabel.isEmpty())
            unveraenderlich(m_immutabel, false);
        m_immutabel.clear();
        if (!m_einhaengepunkt.isEmpty())
            ::umount2(QFile::encodeName(m_einhaengepunkt).constData(), MNT_DETACH);
        m_einhaengepunkt.clear();
#endif
        m_ordner.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // Every prefix of a topic file, as a copy that broke off or a disk that filled up leaves
    // it: the complete records load, the one cut short is dropped, the title is what was there.
    void themaJederAnfang_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("sample QXV.2") << lies(kKatalog + "/QXV.2");
        QTest::newRow("31 generated questions") << Themendatei::mitFragen("Einunddreißig", 31);
    }
    void themaJederAnfang()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!bytes.isEmpty());
        Katalog ganz;
        ladeThema(ganz, bytes);
        const QList<qsizetype> anfaenge = loesungsAnfaenge(bytes);
        QCOMPARE(qMin<qsizetype>(anfaenge.size(), Katalog::MaxFragen), ganz.AnzahlFragen);

        const qsizetype titelEnde = bytes.indexOf('"', 1);
        for (qsizetype laenge = 0; laenge <= bytes.size(); ++laenge) {
            const QByteArray anfang = bytes.left(laenge);
            Katalog bank;
            ladeThema(bank, anfang);
            const int vollstaendig = int(std::count_if(anfaenge.begin(), anfaenge.end(),
                                                       [&](qsizetype a) { return a < laenge; }));
            QCOMPARE(int(bank.AnzahlFragen), qMin(vollstaendig, Katalog::MaxFragen));
            for (int n = 1; n <= bank.AnzahlFragen; ++n) {
                QCOMPARE(bank.Frage(n), ganz.Frage(n));
                QCOMPARE(bank.Antwort(n, 4), ganz.Antwort(n, 4));
                QCOMPARE(bank.Loesung(n), ganz.Loesung(n));
            }
            QVERIFY(bank.Frage(bank.AnzahlFragen + 1).isEmpty());
            QVERIFY(ganz.Thema.startsWith(bank.Thema));
            if (laenge > titelEnde)
                QCOMPARE(bank.Thema, ganz.Thema);

            QBuffer puffer;
            puffer.setData(anfang);
            puffer.open(QIODevice::ReadOnly);
            bool gelesen = false;
            QCOMPARE(Katalog::leseTitel(puffer, &gelesen), bank.Thema);
            QCOMPARE(gelesen, laenge > 0);
        }
    }

    // Every prefix of USER.QXV: read when the eleventh grade has begun, otherwise a first
    // start with the defaults; never anything in between.
    void benutzerJederAnfang()
    {
        const QByteArray datei = kAlteWertung;
        const qsizetype elfteNote = datei.lastIndexOf("\r\n", datei.size() - 3) + 2;
        Benutzerwertung ganz;
        QBuffer puffer;
        puffer.setData(datei);
        puffer.open(QIODevice::ReadOnly);
        QVERIFY(ganz.lese(puffer));

        for (qsizetype laenge = 0; laenge <= datei.size(); ++laenge) {
            m_ordner->schreibe("USER.QXV", datei.left(laenge));
            Benutzer().setzeErgebnis(1, 4);
            int hinweise = 0;
            const bool gelesen = User::LadeBenutzer([&] { ++hinweise; });
            QCOMPARE(gelesen, laenge > elfteNote);
            QCOMPARE(hinweise, gelesen ? 0 : 1);
            QCOMPARE(Benutzer(), gelesen ? ganz : Benutzerwertung());
        }
    }

    // Hand-edited first lines of USER.QXV: what was read is saved so that the next start reads
    // the same, and a file as the trainer writes it stays byte for byte.
    void benutzerKopfBleibt_data()
    {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<QString>("kopf1");
        QTest::addColumn<QString>("kopf2");
        QTest::addColumn<bool>("byteGenau");
        const QByteArray noten = QByteArray("2\r\n").repeated(11);
        QTest::newRow("double quote in an unquoted text")
            << "Kapit\xE4n \"Frank\",x\"y\"\r\n" + noten << QString::fromUtf8("Kapitän \"Frank\"") << "x\"y\"" << true;
        QTest::newRow("found by fuzzing: quote in the second text") << "\"\",-\"\r\n" + noten << "" << "-\"" << true;
        QTest::newRow("unquoted texts without quotes") << "Kopf eins , Kopf zwei\r\n" + noten << "Kopf eins"
                                                       << "Kopf zwei" << false;
        QTest::newRow("quoted texts") << "\"a, b\",\" c \"\r\n" + noten << "a, b" << " c " << true;
    }
    void benutzerKopfBleibt()
    {
        QFETCH(QByteArray, datei);
        QFETCH(QString, kopf1);
        QFETCH(QString, kopf2);
        QFETCH(bool, byteGenau);
        m_ordner->schreibe("USER.QXV", datei);
        QVERIFY(User::LadeBenutzer({}));
        QCOMPARE(Benutzer().Kopf1, kopf1);
        QCOMPARE(Benutzer().Kopf2, kopf2);
        const Benutzerwertung gelesen = Benutzer();

        QVERIFY(User::SpeichereBenutzer());
        const QByteArray einmal = m_ordner->lies("USER.QXV");
        QVERIFY(User::LadeBenutzer({}));
        QCOMPARE(Benutzer(), gelesen);
        QVERIFY(User::SpeichereBenutzer());
        QCOMPARE(m_ordner->lies("USER.QXV"), einmal);
        if (byteGenau)
            QCOMPARE(einmal, datei);
    }

    // A save that fails before, while or after it writes leaves the old USER.QXV as it was,
    // says why, and leaves nothing else behind.
    void speichernScheitert_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::newRow("before: a folder where the file should be") << "ordner";
        QTest::newRow("before: the program folder is gone") << "ohneOrdner";
#ifdef Q_OS_LINUX
        QTest::newRow("while: file-size limit 0") << "grenze0";
        QTest::newRow("while: file-size limit midway, a short write") << "grenze20";
        QTest::newRow("while: one byte short") << "grenzeKnapp";
        QTest::newRow("while: a small file system that is full") << "voll";
        QTest::newRow("after: putting the new file in place fails") << "umbenennen";
        QTest::newRow("the old file is immutable") << "unersetzlich";
#endif
    }
    void speichernScheitert()
    {
        QFETCH(QString, fall);
        QString ordner = m_ordner->pfad();
        bool mitAlterDatei = true;
#ifdef Q_OS_LINUX
        if (fall == "voll") {
            ordner = m_ordner->datei("klein");
            QVERIFY(QDir().mkpath(ordner));
            if (::mount("selvarot", QFile::encodeName(ordner).constData(), "tmpfs", 0, "size=16k") != 0)
                QSKIP("no tmpfs can be mounted here (needs root)");
            m_einhaengepunkt = ordner;
            Programmordner::setze(ordner);
        }
#endif
        if (fall == "ohneOrdner") {
            ordner = m_ordner->datei("gibt es nicht");
            Programmordner::setze(ordner);
        }
        const QString datei = QDir(ordner).filePath("USER.QXV");
        if (fall == "ordner") {
            QVERIFY(QDir(ordner).mkdir("USER.QXV"));
            mitAlterDatei = false;
        } else if (fall == "ohneOrdner") {
            mitAlterDatei = false;
        } else {
            QFile alt(datei);
            QVERIFY(alt.open(QIODevice::WriteOnly));
            QCOMPARE(alt.write(kAlteWertung), kAlteWertung.size());
        }
        if (mitAlterDatei)
            QVERIFY(User::LadeBenutzer({}));
        Benutzer().setzeErgebnis(1, 1);
        Benutzer().Kopf1 = QStringLiteral("neu");

        bool ok = true;
        QString fehler;
#ifdef Q_OS_LINUX
        if (fall == "voll") {
            // Fill what is left with one file, then take away its last page, so not even the
            // first write of the new file fits.
            QFile fueller(QDir(ordner).filePath("fueller"));
            QVERIFY(fueller.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            while (fueller.write(QByteArray(512, 'x')) == 512) {
            }
            fueller.close();
            ok = User::SpeichereBenutzer(&fehler);
            QFile::remove(fueller.fileName());
        } else if (fall == "unersetzlich") {
            if (!unveraenderlich(datei, true))
                QSKIP("the file system or the user's rights allow no immutable files here");
            m_immutabel = datei;
            ok = User::SpeichereBenutzer(&fehler);
        } else if (fall == "umbenennen") {
            g_umbenennenScheitert = true;
            ok = User::SpeichereBenutzer(&fehler);
            g_umbenennenScheitert = false;
        } else if (fall.startsWith("grenze")) {
            const rlim_t grenze = fall == "grenze0" ? 0 : fall == "grenze20" ? 20 : Benutzer().alsDatei().size() - 1;
            Groessengrenze knapp(grenze);
            ok = User::SpeichereBenutzer(&fehler);
        } else
#endif
        {
            ok = User::SpeichereBenutzer(&fehler);
        }

        QVERIFY(!ok);
        QVERIFY(!fehler.isEmpty());
        if (mitAlterDatei) {
            QCOMPARE(lies(datei), kAlteWertung);
            QCOMPARE(QDir(ordner).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{"USER.QXV"});
        } else {
            QVERIFY(!QFileInfo(datei).isFile());
            QCOMPARE(QFileInfo::exists(ordner), fall != "ohneOrdner");
        }
    }

#ifdef Q_OS_LINUX
    // Topic files and USER.QXV that are no plain files, or whose field never ends: a pipe
    // nobody writes to would block the start for ever, /dev/zero would never end, and a quote
    // that never closes would be read to the end of 100 MB. Start-up and the topic's launch
    // come back, with the messages of a file that cannot be read.
    void keineGewoehnlicheDatei_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("eintrag");
        QTest::newRow("a pipe") << "fifo" << "(Themendatei QXV.2 fehlt)";
        QTest::newRow("a link to /dev/zero") << "null" << "(Themendatei QXV.2 fehlt)";
        QTest::newRow("a folder") << "ordner" << "(Themendatei QXV.2 fehlt)";
        QTest::newRow("100 MB in a field without a closing quote") << "offen" << "(Themendatei QXV.2 ist beschädigt)";
    }
    void keineGewoehnlicheDatei()
    {
        QFETCH(QString, art);
        QFETCH(QString, eintrag);
        m_ordner->schreibeAlleThemen();
        for (const QString& name : {QStringLiteral("QXV.2"), QStringLiteral("USER.QXV")}) {
            const QByteArray pfad = QFile::encodeName(m_ordner->datei(name));
            QFile::remove(pfad);
            if (art == "fifo") {
                QCOMPARE(::mkfifo(pfad.constData(), 0600), 0);
            } else if (art == "null") {
                QVERIFY(QFile::link("/dev/zero", pfad));
            } else if (art == "ordner") {
                QVERIFY(QDir().mkdir(pfad));
            } else {
                QFile f(pfad);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("\"");
                QVERIFY(f.resize(100 * 1024 * 1024)); // sparse: no 100 MB written
            }
        }

        // USER.QXV cannot be read: the first start's About dialog, then the defaults.
        BeimNaechstenModal info([](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
        frmMain fenster;
        QVERIFY(info.lief());
        QCOMPARE(Meldung::gefragt().size(), 0);
        QCOMPARE(Benutzer(), Benutzerwertung());
        QCOMPARE(fenster.LView->count(), 11);
        QCOMPARE(fenster.LView->item(0)->text(), QString("Thema 1"));
        QCOMPARE(fenster.LView->item(1)->text(), eintrag);
        fenster.LView->item(1)->setCheckState(Qt::Checked);
        fenster.Button[1]->click();
        QCOMPARE(Meldung::gefragt().size(), 1);
        QVERIFY(Meldung::gefragt().first().text.contains("kann nicht gelesen werden"));
        QCOMPARE(katalog().LadeThema(2), Katalog::Ladeergebnis::DateiNichtLesbar);
        QCOMPARE(int(katalog().AnzahlFragen), 0);
    }

    // A power cut loses nothing that was kept: every line of the history is on the disk before
    // the learner goes on, and so is a new USER.QXV when its save returns.
    void aufDerPlatte()
    {
        g_folge.clear();
        Verlauf::Schreiber schreiber(Verlauf::Modus::Abfrage);
        QVERIFY(schreiber.schreibe(1, "00000000000000aa", 1, true));
        QCOMPARE(g_folge, QStringList{"sync"});
        QVERIFY(schreiber.schreibe(1, "00000000000000bb", 2, false));
        QCOMPARE(g_folge, (QStringList{"sync", "sync"}));

        g_folge.clear();
        Benutzer().setzeErgebnis(1, 4);
        QVERIFY(User::SpeichereBenutzer());
        QCOMPARE(g_folge, QStringList{"sync"});
    }

    // Closing the main window when the save fails midway: the message comes once, the old
    // file stays byte for byte, and the program ends, however often the window is closed.
    void hauptfensterEndetTrotzFehler()
    {
        m_ordner->schreibeAlleThemen();
        m_ordner->schreibe("USER.QXV", kAlteWertung);
        frmMain fenster;
        fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenster));
        Benutzer().setzeErgebnis(1, 1);

        bool letztesFensterZu = false;
        connect(qApp, &QGuiApplication::lastWindowClosed, &fenster, [&] { letztesFensterZu = true; });
        QTimer::singleShot(0, &fenster, [&] { fenster.close(); });
        QTimer::singleShot(0, &fenster, [&] { fenster.close(); });
        // A program that does not end would wait here for ever; the guard ends the loop instead.
        QTimer wache;
        wache.setSingleShot(true);
        connect(&wache, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        wache.start(10000);
        int ende = -1;
        {
            Groessengrenze knapp(20);
            ende = QApplication::exec();
        }
        QCOMPARE(ende, 0);
        QVERIFY(letztesFensterZu);
        QVERIFY(!fenster.isVisible());

        const auto gefragt = Meldung::gefragt();
        QCOMPARE(gefragt.size(), 1);
        QCOMPARE(gefragt.first().titel, QString("Speichern"));
        QCOMPARE(m_ordner->lies("USER.QXV"), kAlteWertung);
        QCOMPARE(QDir(m_ordner->pfad()).entryList({"USER*"}, QDir::Files | QDir::Hidden), QStringList{"USER.QXV"});
    }
#endif

private:
    std::unique_ptr<TestOrdner> m_ordner;
    QString m_einhaengepunkt;
    QString m_immutabel;
};

QTEST_MAIN(tst_Robust)
#include "tst_robust.moc"
