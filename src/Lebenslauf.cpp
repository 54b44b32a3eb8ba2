#include "Lebenslauf.h"

#include "Anwendung.h"
#include "Benutzerordner.h"
#include "Meldung.h"
#include "User.h"
#include "Verlauf.h"
#include "Weitergabe.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSocketNotifier>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <QWidget>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

int Lebenslauf::warteMs = 3000;
int Lebenslauf::horchenNachMs = 200;

namespace {

#ifdef Q_OS_UNIX
// The signal handler only writes the signal's number into this pipe; the rest happens in the
// event loop, where a QSocketNotifier watches the other end.
int g_rohr[2] = {-1, -1};
constexpr int kEndsignale[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void signalKam(int nummer)
{
    const int fehler = errno;
    const char zeichen = char(nummer);
    [[maybe_unused]] const auto geschrieben = ::write(g_rohr[1], &zeichen, 1);
    errno = fehler;
}
#endif

QString ordnerText(const QString& ordner) { return QDir::toNativeSeparators(ordner); }

// Whether the lock was taken on another computer sharing the folder. The lock file names the
// computer as the system gives it (on Windows its short name in capitals, which need not be the
// host name) and then the computer's unique id, which settles it.
bool vonAnderemRechner(const QString& sperre)
{
    QFile datei(sperre);
    if (!datei.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> zeilen = datei.read(4096).split('\n');
    if (zeilen.size() < 3 || zeilen.at(2).isEmpty())
        return false;
    const QByteArray kennung = QSysInfo::machineUniqueId();
    if (zeilen.size() > 3 && !zeilen.at(3).isEmpty() && !kennung.isEmpty())
        return zeilen.at(3) != kennung;
    return QString::fromUtf8(zeilen.at(2)).compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) != 0;
}

const QString kOhneSpeichern = QStringLiteral("Benutzerwertung und Antwortverlauf werden darum nicht gespeichert;\n"
                                              "Lernen und Abfragen gehen trotzdem.");

} // namespace

Lebenslauf::Lebenslauf(QObject* eltern) : QObject(eltern) {}

Lebenslauf::~Lebenslauf()
{
    if (m_sperren)
        m_sperren->wait();
#ifdef Q_OS_UNIX
    if (m_melder) {
        for (int nummer : kEndsignale)
            std::signal(nummer, SIG_DFL);
    }
#endif
}

QString Lebenslauf::servername(const QString& ordner)
{
    // One learner's folder, one name; the user's own name goes in too, so that two users of one
    // shared folder never take each other's name. The server admits only its own user.
    QString nutzer = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
#ifdef Q_OS_UNIX
    nutzer += QString::number(::getuid());
#endif
    const QString wo = QFileInfo(ordner).absoluteFilePath() + QLatin1Char('\n') + nutzer;
    return QStringLiteral("selvarot-") +
           QString::fromLatin1(QCryptographicHash::hash(wo.toUtf8(), QCryptographicHash::Sha256).toHex().left(24));
}

void Lebenslauf::bereite()
{
    if (m_bereitet)
        return;
    m_bereitet = true;
#ifdef Q_OS_UNIX
    // A write past a file-size limit fails with an error the trainer reports, instead of
    // ending it.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    Benutzerordner::bestimme();
    const QString ordner = Benutzerordner::pfad();
    if (ordner.isEmpty() || !Benutzerordner::legeAn())
        return;
    m_servername = servername(ordner);
    m_sperre = std::make_unique<QLockFile>(Benutzerordner::datei(QStringLiteral("USER.QXV.sperre")));
    // Only a trainer that no longer runs leaves a stale lock: none ages into one.
    m_sperre->setStaleLockTime(0);
    m_sperren.reset(QThread::create([this] { m_gesperrt = m_sperre->tryLock(0); }));
    m_sperren->start();
}

Lebenslauf::Start Lebenslauf::beginne()
{
    bereite();
    const QString ordner = Benutzerordner::pfad();
    if (ordner.isEmpty()) {
        meldeOrdner(QStringLiteral("Ihr persönlicher Ordner ist nicht bekannt:\n"
                                   "die Umgebungsvariable HOME ist nicht gesetzt.\n") +
                    kOhneSpeichern);
        fangeSignale();
        return Start::Allein;
    }
    if (!m_sperre) {
        meldeOrdner(QStringLiteral("Der Ordner\n%1\nkann nicht angelegt werden.\n").arg(ordnerText(ordner)) +
                    kOhneSpeichern);
        fangeSignale();
        return Start::Allein;
    }
    m_sperren->wait();
    m_sperren.reset();
    if (!m_gesperrt) {
        if (m_sperre->error() != QLockFile::LockFailedError) {
            // Making the lock is the try: a folder that takes no file takes no grades either.
            meldeOrdner(QStringLiteral("In den Ordner\n%1\nkann nicht geschrieben werden.\n").arg(ordnerText(ordner)) +
                        kOhneSpeichern);
            m_sperre.reset();
            fangeSignale();
            return Start::Allein;
        }
        if (vonAnderemRechner(Benutzerordner::datei(QStringLiteral("USER.QXV.sperre")))) {
            // A trainer on another computer sharing the folder: it cannot be reached from here,
            // and each save keeps the other's grades.
            m_sperre.reset();
            fangeSignale();
            return Start::Allein;
        }
        m_sperre.reset();
        if (reicheWeiter(m_servername))
            return Start::Weitergereicht;
        Meldung::zeige(nullptr, QStringLiteral("Selvarot läuft bereits."), Anwendung::Titel);
        return Start::LaeuftBereits;
    }
    fangeSignale();
    return Start::Allein;
}

void Lebenslauf::meldeOrdner(const QString& text)
{
    Meldung::zeige(nullptr, text, QStringLiteral("Speichern"));
    // Said once, here: the saves and the history that fail for it say nothing more.
    User::setzeFehlerGemeldet(true);
    Verlauf::Schreiber::setzeGemeldet(true);
}

bool Lebenslauf::reicheWeiter(const QString& name)
{
#ifdef Q_OS_WIN
    // The running trainer may then take the foreground, which Windows grants only to the
    // program the learner just started.
    AllowSetForegroundWindow(ASFW_ANY);
#endif
    QElapsedTimer uhr;
    uhr.start();
    do {
        if (Weitergabe::klopfe(name))
            return true;
        QThread::msleep(100);
    } while (uhr.elapsed() < warteMs);
    return false;
}

void Lebenslauf::begleite(QWidget* hauptfenster, std::function<void()> speichern)
{
    m_hauptfenster = hauptfenster;
    m_speichern = std::move(speichern);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] {
        if (m_speichern)
            m_speichern();
    });
    if (m_sperre)
        QTimer::singleShot(horchenNachMs, this, &Lebenslauf::horche);
    // A signal that came before the main window (during the first start's notice) ends it now.
    if (m_endet) {
        m_endet = false;
        QTimer::singleShot(0, this, &Lebenslauf::beende);
    }
}

void Lebenslauf::horche()
{
    if (m_weitergabe)
        return;
    m_weitergabe = new Weitergabe(this);
    // The lock is ours, so a channel of that name is one that a trainer left when it died.
    if (m_weitergabe->horche(m_servername))
        connect(m_weitergabe, &Weitergabe::angeklopft, this, &Lebenslauf::holeNachVorn);
}

void Lebenslauf::holeNachVorn()
{
    QWidget* haupt = m_hauptfenster;
    if (!haupt || !haupt->isVisible())
        return;
    if (haupt->isMinimized())
        haupt->setWindowState(haupt->windowState() & ~Qt::WindowMinimized);
    haupt->raise();
    // The windows open above it (a quiz, its result, a message) go on top again, in order.
    QList<QWidget*> kette;
    for (QWidget* w = QApplication::activeModalWidget(); w && w != haupt;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr)
        kette.prepend(w);
    QWidget* oben = haupt;
    for (QWidget* w : kette) {
        w->raise();
        oben = w;
    }
    oben->activateWindow();
    emit nachVornGeholt();
}

// The main window closes as by its close box, which saves; every event loop then ends, so that
// modal windows open above it close as well. A second signal ends the loops at once, even while
// a message about the save waits for an answer.
void Lebenslauf::beende()
{
    if (m_endet) {
        QCoreApplication::exit(0);
        return;
    }
    m_endet = true;
    if (m_hauptfenster)
        m_hauptfenster->close();
    QCoreApplication::exit(0);
}

void Lebenslauf::fangeSignale()
{
#ifdef Q_OS_UNIX
    if (m_melder)
        return;
    if (g_rohr[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_rohr) != 0)
            return;
        for (int fd : g_rohr) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
    m_melder = new QSocketNotifier(g_rohr[0], QSocketNotifier::Read, this);
    connect(m_melder, &QSocketNotifier::activated, this, [this] {
        char zeichen[16];
        while (::read(g_rohr[0], zeichen, sizeof zeichen) > 0) {
        }
        beende();
    });
    struct sigaction wie {};
    wie.sa_handler = signalKam;
    sigemptyset(&wie.sa_mask);
    wie.sa_flags = SA_RESTART;
    for (int nummer : kEndsignale)
        ::sigaction(nummer, &wie, nullptr);
#endif
}
