#include "Benutzerordner.h"
#include "Lebenslauf.h"
#include "Meldung.h"
#include "Modal.h"
#include "TestOrdner.h"
#include "User.h"
#include "Verlauf.h"
#include "Weitergabe.h"
#include "main/frmMain.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QLockFile>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

// What needs a second process or a real limit (a second start, a killed trainer's lock, ulimit -f)
// is proven end-to-end in tests/e2e/dauer.sh.
class tst_Lebenslauf : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Lebenslauf::horchenNachMs = 0;
        Lebenslauf::warteMs = 300;
    }
    void init()
    {
        m_ordner = std::make_unique<TestOrdner>();
        m_ordner->schreibeAlleThemen(1);
        m_ordner->schreibe("USER.QXV", userDatei(QList<int>(11, 1)));
    }
    void cleanup()
    {
        m_ordner.reset();
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // A lock held, but no trainer to answer: the second start says so and ends.
    void laeuftBereits()
    {
        Lebenslauf erster;
        QCOMPARE(erster.beginne(), Lebenslauf::Start::Allein);
        Lebenslauf zweiter;
        QCOMPARE(zweiter.beginne(), Lebenslauf::Start::LaeuftBereits);
        QCOMPARE(Meldung::gefragt().size(), 1);
        QCOMPARE(Meldung::gefragt().at(0).text, QString("Selvarot läuft bereits."));
    }

    // A lock that names this computer otherwise than its host name (Windows writes its short
    // name in capitals) is still this computer's by its unique id; only another id lets a start
    // beside it go on, as on a shared folder.
    void schlossEinesAnderenRechners_data()
    {
        QTest::addColumn<QByteArray>("kennung");
        QTest::addColumn<bool>("allein");
        QTest::newRow("this computer, its name in capitals") << QSysInfo::machineUniqueId() << false;
        QTest::newRow("another computer") << QByteArray("0123456789abcdef0123456789abcdef") << true;
    }
    void schlossEinesAnderenRechners()
    {
        QFETCH(QByteArray, kennung);
        QFETCH(bool, allein);
        QByteArray inhalt;
        {
            QLockFile echt(m_ordner->datei("USER.QXV.sperre"));
            QVERIFY(echt.tryLock(0));
            inhalt = m_ordner->lies("USER.QXV.sperre");
            echt.unlock();
        }
        QList<QByteArray> zeilen = inhalt.split('\n');
        QVERIFY(zeilen.size() > 3);
        zeilen[2] = "EIN-ANDERER-NAME";
        zeilen[3] = kennung;
        m_ordner->schreibe("USER.QXV.sperre", zeilen.join('\n'));
        Lebenslauf start;
        QCOMPARE(start.beginne(), allein ? Lebenslauf::Start::Allein : Lebenslauf::Start::LaeuftBereits);
        QCOMPARE(Meldung::gefragt().isEmpty(), allein);
    }

#ifdef Q_OS_UNIX
    // The channel lives in the learner's runtime folder. What a trainer that died left there is
    // replaced; a file that is no socket of ours is never touched, and then no one listens.
    void weitergabeErsetztNurEigeneSockets()
    {
        QTemporaryDir laufzeit;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(laufzeit.path()));
        const auto danach = qScopeGuard([] { qunsetenv("XDG_RUNTIME_DIR"); });
        // A socket that a trainer left when it died: bound, never removed.
        sockaddr_un wo{};
        wo.sun_family = AF_UNIX;
        const QByteArray alt = QFile::encodeName(laufzeit.filePath("alt"));
        std::memcpy(wo.sun_path, alt.constData(), size_t(alt.size()));
        const int tot = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(::bind(tot, reinterpret_cast<const sockaddr*>(&wo), sizeof wo) == 0);
        ::close(tot);
        QVERIFY(!Weitergabe::klopfe("alt"));
        {
            Weitergabe neu;
            QVERIFY(neu.horche("alt"));
            QVERIFY(!(QFileInfo(alt).permissions() & QFile::Permissions(0x0077))); // neither group nor others
            QSignalSpy geklopft(&neu, &Weitergabe::angeklopft);
            QVERIFY(Weitergabe::klopfe("alt"));
            QTRY_COMPARE(geklopft.count(), 1);
        }
        QVERIFY(!QFileInfo::exists(alt));

        QFile fremd(laufzeit.filePath("fremd"));
        QVERIFY(fremd.open(QIODevice::WriteOnly) && fremd.write("Notizen") == 7);
        fremd.close();
        QVERIFY(!Weitergabe().horche("fremd"));
        QVERIFY(!Weitergabe::klopfe("fremd"));
        QVERIFY(fremd.open(QIODevice::ReadOnly));
        QCOMPARE(fremd.readAll(), QByteArray("Notizen"));
    }

#endif

    // The learner's folder is made and tried at the start: what fails is said once, there, and
    // the saves after it say nothing more; the trainer goes on.
    void ordnerBeimStart_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("text");
        QTest::newRow("the data folder cannot be made") << "datei" << "kann nicht angelegt werden";
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
        QTest::newRow("no home") << "ohneHeim" << "HOME";
#endif
    }
    void ordnerBeimStart()
    {
        QFETCH(QString, fall);
        QFETCH(QString, text);
        const QByteArray heim = qgetenv("HOME"), xdg = qgetenv("XDG_DATA_HOME");
        Benutzerordner::setzePruefer([](const QString&, bool) { return false; });
        if (fall == "datei") {
            m_ordner->schreibe("Daten", "kein Ordner");
        } else {
            Benutzerordner::setzeDatenordner(QString());
            qunsetenv("HOME");
            qunsetenv("XDG_DATA_HOME");
        }
        Lebenslauf leben;
        const Lebenslauf::Start start = leben.beginne();
        qputenv("HOME", heim);
        qputenv("XDG_DATA_HOME", xdg);
        QCOMPARE(start, Lebenslauf::Start::Allein);
        QCOMPARE(Meldung::gefragt().size(), 1);
        QVERIFY(Meldung::gefragt().at(0).text.contains(text));
        QCOMPARE(Meldung::gefragt().at(0).titel, QString("Speichern"));
        QVERIFY(User::fehlerGemeldet());
        QVERIFY(Verlauf::Schreiber::gemeldet());
    }

#ifdef Q_OS_UNIX
    // TERM while a quiz is open: the main window closes as by its close box, saving, the quiz
    // closes with it, and the program's event loop ends.
    void signalBeendetAuchUeberDerAbfrage()
    {
        Lebenslauf leben;
        QCOMPARE(leben.beginne(), Lebenslauf::Start::Allein);
        frmMain haupt;
        leben.begleite(&haupt, [&haupt] { haupt.speichere(); });
        haupt.show();
        Benutzer().setzeErgebnis(3, 4);
        haupt.LView->item(0)->setCheckState(Qt::Checked);

        BeimNaechstenModal abfrage([](QWidget*) { std::raise(SIGTERM); }, "frmAbfrage");
        QTimer::singleShot(0, &haupt, [&haupt] { haupt.Button[1]->click(); });
        QTimer wache;
        wache.setSingleShot(true);
        connect(&wache, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        wache.start(10000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(abfrage.lief());
        QVERIFY(!haupt.isVisible());
        QCOMPARE(m_ordner->lies("USER.QXV"), userDatei({1, 1, 4, 1, 1, 1, 1, 1, 1, 1, 1}));
        QVERIFY(Meldung::gefragt().isEmpty());
    }
#endif

private:
    std::unique_ptr<TestOrdner> m_ordner;
};

QTEST_MAIN(tst_Lebenslauf)
#include "tst_lebenslauf.moc"
