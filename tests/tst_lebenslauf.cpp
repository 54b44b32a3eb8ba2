#include "Benutzerordner.h"
#include "Lebenslauf.h"
#include "Meldung.h"
#include "Modal.h"
#include "TestOrdner.h"
#include "User.h"
#include "Verlauf.h"
#include "main/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

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

    // A second start for the same learner reaches the running trainer, which comes to the
    // front, and goes no further; nothing is said.
    void zweiterStartHoltDenErstenNachVorn()
    {
        Lebenslauf erster;
        QCOMPARE(erster.beginne(), Lebenslauf::Start::Allein);
        QVERIFY(m_ordner->gibt("USER.QXV.sperre"));
        QWidget haupt;
        haupt.show();
        erster.begleite(&haupt, {});
        QSignalSpy geholt(&erster, &Lebenslauf::nachVornGeholt);
        // The server opens once the event loop runs; a first connection finds it.
        bool offen = false;
        QTRY_VERIFY(offen || (offen = [] {
                        QLocalSocket probe;
                        probe.connectToServer(Lebenslauf::servername(Benutzerordner::pfad()));
                        return probe.waitForConnected(100);
                    }()));
        QTRY_COMPARE(geholt.count(), 1);

        Lebenslauf zweiter;
        QCOMPARE(zweiter.beginne(), Lebenslauf::Start::Weitergereicht);
        QTRY_COMPARE(geholt.count(), 2);
        QVERIFY(Meldung::gefragt().isEmpty());
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

#ifdef Q_OS_UNIX
    // A lock left by a trainer that no longer runs is taken over at once, however young.
    void totesSchlossWirdUebernommen()
    {
        QProcess kurz;
        kurz.start(QStringLiteral("true"), {});
        QVERIFY(kurz.waitForStarted());
        const qint64 tot = kurz.processId();
        QVERIFY(kurz.waitForFinished());

        const QString pfad = m_ordner->datei("USER.QXV.sperre");
        QByteArray inhalt;
        {
            QLockFile echt(pfad);
            QVERIFY(echt.tryLock(0));
            inhalt = m_ordner->lies("USER.QXV.sperre");
            echt.unlock();
        }
        inhalt = QByteArray::number(tot) + inhalt.mid(inhalt.indexOf('\n'));
        m_ordner->schreibe("USER.QXV.sperre", inhalt);

        Lebenslauf neu;
        QCOMPARE(neu.beginne(), Lebenslauf::Start::Allein);
        QVERIFY(m_ordner->lies("USER.QXV.sperre").startsWith(QByteArray::number(QCoreApplication::applicationPid())));
        QVERIFY(Meldung::gefragt().isEmpty());
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

    // A file-size limit makes a write fail instead of ending the trainer.
    void dateigroesseBeendetNicht()
    {
        std::signal(SIGXFSZ, SIG_DFL);
        Lebenslauf leben;
        leben.beginne();
        struct sigaction jetzt {};
        ::sigaction(SIGXFSZ, nullptr, &jetzt);
        QVERIFY(jetzt.sa_handler == SIG_IGN);
    }
#endif

private:
    std::unique_ptr<TestOrdner> m_ordner;
};

QTEST_MAIN(tst_Lebenslauf)
#include "tst_lebenslauf.moc"
