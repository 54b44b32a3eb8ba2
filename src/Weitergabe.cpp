#include "Weitergabe.h"

#ifdef Q_OS_WIN
#include <QLocalServer>
#include <QLocalSocket>
#else
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

Weitergabe::Weitergabe(QObject* eltern) : QObject(eltern) {}

#ifdef Q_OS_WIN

Weitergabe::~Weitergabe() = default;

bool Weitergabe::horche(const QString& name)
{
    if (m_server)
        return m_server->isListening();
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(name);
    if (!m_server->listen(name))
        return false;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* verbindung = m_server->nextPendingConnection()) {
            connect(verbindung, &QLocalSocket::disconnected, verbindung, &QObject::deleteLater);
            verbindung->disconnectFromServer();
            emit angeklopft();
        }
    });
    return true;
}

bool Weitergabe::klopfe(const QString& name)
{
    QLocalSocket verbindung;
    verbindung.connectToServer(name);
    if (!verbindung.waitForConnected(500))
        return false;
    verbindung.write("nachvorn\n");
    const bool ok = verbindung.waitForBytesWritten(1000) || verbindung.bytesToWrite() == 0;
    verbindung.disconnectFromServer();
    return ok;
}

#else

namespace {

// The learner's runtime folder, which only they may enter, else the folder for temporary files.
QString ordner()
{
    const QString laufzeit = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(laufzeit)) {
        struct stat st;
        if (::stat(QFile::encodeName(laufzeit).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid())
            return laufzeit;
    }
    return QDir::tempPath();
}

bool adresse(const QString& name, sockaddr_un& wo)
{
    const QByteArray pfad = QFile::encodeName(ordner() + QLatin1Char('/') + name);
    wo = {};
    wo.sun_family = AF_UNIX;
    if (pfad.isEmpty() || size_t(pfad.size()) >= sizeof wo.sun_path)
        return false;
    std::memcpy(wo.sun_path, pfad.constData(), size_t(pfad.size()));
    return true;
}

int neuerSocket()
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd >= 0)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    return fd;
}

// The other end belongs to this user: a socket in a shared folder may be reached by anyone.
bool vomSelbenNutzer(int fd)
{
#ifdef SO_PEERCRED
    ucred wer{};
    socklen_t laenge = sizeof wer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &wer, &laenge) == 0 && wer.uid == ::getuid();
#else
    uid_t nutzer = 0;
    gid_t gruppe = 0;
    return ::getpeereid(fd, &nutzer, &gruppe) == 0 && nutzer == ::getuid();
#endif
}

} // namespace

Weitergabe::~Weitergabe()
{
    if (m_fd < 0)
        return;
    delete m_melder;
    ::close(m_fd);
    // Only our own socket goes: a later trainer may have put its own there meanwhile.
    const QByteArray pfad = QFile::encodeName(m_pfad);
    struct stat st;
    if (::lstat(pfad.constData(), &st) == 0 && quint64(st.st_ino) == m_knoten)
        ::unlink(pfad.constData());
}

bool Weitergabe::horche(const QString& name)
{
    if (m_fd >= 0)
        return true;
    sockaddr_un wo;
    if (!adresse(name, wo))
        return false;
    // A socket of ours that is left there belongs to a trainer that died; anything else under
    // that name (a file, a link, another user's socket) stays as it is, and no one listens.
    struct stat st;
    if (::lstat(wo.sun_path, &st) == 0) {
        if (!S_ISSOCK(st.st_mode) || st.st_uid != ::getuid() || ::unlink(wo.sun_path) != 0)
            return false;
    }
    const int fd = neuerSocket();
    if (fd < 0)
        return false;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&wo), sizeof wo) != 0) {
        ::close(fd);
        return false;
    }
    if (::chmod(wo.sun_path, 0600) != 0 || ::listen(fd, 8) != 0 || ::lstat(wo.sun_path, &st) != 0) {
        ::unlink(wo.sun_path);
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_fd = fd;
    m_pfad = QFile::decodeName(wo.sun_path);
    m_knoten = quint64(st.st_ino);
    m_melder = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_melder, &QSocketNotifier::activated, this, &Weitergabe::nimmAn);
    return true;
}

void Weitergabe::nimmAn()
{
    int verbindung;
    while ((verbindung = ::accept(m_fd, nullptr, nullptr)) >= 0) {
        const bool eigener = vomSelbenNutzer(verbindung);
        ::close(verbindung);
        if (eigener)
            emit angeklopft();
    }
}

bool Weitergabe::klopfe(const QString& name)
{
    sockaddr_un wo;
    if (!adresse(name, wo))
        return false;
    const int fd = neuerSocket();
    if (fd < 0)
        return false;
    // The connection is the knock; a listener of another user is not our trainer.
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&wo), sizeof wo) == 0 && vomSelbenNutzer(fd);
    ::close(fd);
    return ok;
}

#endif
