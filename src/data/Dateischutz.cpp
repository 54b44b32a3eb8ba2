#include "Dateischutz.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#if defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#elif defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString ordnerVon(const QString& pfad) { return QFileInfo(pfad).absolutePath(); }

#ifdef Q_OS_UNIX
QString verweisGrund(const QString& pfad)
{
    return QStringLiteral("„%1“ ist ein symbolischer Verweis in einem Ordner,\nin dem auch andere Benutzer "
                          "schreiben dürfen:\n%2\nDurch einen Verweis, den jemand anderes angelegt haben kann,\n"
                          "schreibt Selvarot nicht.")
        .arg(QFileInfo(pfad).fileName(), QDir::toNativeSeparators(ordnerVon(pfad)));
}

QString fremdGrund(const QString& pfad)
{
    return QStringLiteral("„%1“ gehört einem anderen Benutzer, in einem Ordner,\nin dem auch andere Benutzer "
                          "schreiben dürfen:\n%2\nDie Datei eines anderen ersetzt Selvarot nicht.")
        .arg(QFileInfo(pfad).fileName(), QDir::toNativeSeparators(ordnerVon(pfad)));
}
#endif

} // namespace

namespace Dateischutz {

bool ordnerGeteilt(const QString& ordner)
{
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(ordner).constData(), &st) != 0)
        return false;
    return (st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0;
#else
    Q_UNUSED(ordner);
    return false;
#endif
}

QString bedenken(const QString& pfad)
{
#ifdef Q_OS_UNIX
    if (!ordnerGeteilt(ordnerVon(pfad)))
        return {};
    struct stat st {};
    if (::lstat(QFile::encodeName(pfad).constData(), &st) != 0)
        return {};
    if (S_ISLNK(st.st_mode))
        return verweisGrund(pfad);
    if (st.st_uid != ::geteuid())
        return fremdGrund(pfad);
#else
    Q_UNUSED(pfad);
#endif
    return {};
}

bool oeffneZumAnhaengen(QFile& datei, const QString& pfad, QString* grund, bool* neu)
{
    if (grund)
        grund->clear();
    if (neu)
        *neu = false;
#ifdef Q_OS_UNIX
    const bool geteilt = ordnerGeteilt(ordnerVon(pfad));
    const QByteArray name = QFile::encodeName(pfad);
    // Not blocking, so that a pipe in the file's place cannot hold the open; it is refused below.
    int flags = O_RDWR | O_APPEND | O_CLOEXEC | O_NONBLOCK;
    if (geteilt)
        flags |= O_NOFOLLOW;
    bool gemacht = false;
    int fd = ::open(name.constData(), flags);
    if (fd < 0 && errno == ENOENT) {
        // In a shared folder made only where nothing stands, not even a link; in the learner's
        // own, their link to a file yet to come makes that file.
        fd = ::open(name.constData(), flags | O_CREAT | (geteilt ? O_EXCL : 0), 0666);
        gemacht = fd >= 0;
    }
    if (fd < 0) {
        if (geteilt && (errno == ELOOP || errno == EMLINK) && grund)
            *grund = verweisGrund(pfad);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (geteilt && st.st_uid != ::geteuid()) {
        ::close(fd);
        if (grund)
            *grund = fremdGrund(pfad);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!datei.open(fd, QIODevice::ReadWrite | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    if (neu)
        *neu = gemacht;
    return true;
#else
    const bool da = QFileInfo::exists(pfad);
    if (da && !QFileInfo(pfad).isFile())
        return false;
    datei.setFileName(pfad);
    if (!datei.open(QIODevice::ReadWrite | QIODevice::Append))
        return false;
    if (neu)
        *neu = !da;
    return true;
#endif
}

bool ersetze(const QString& pfad, const QByteArray& bytes, QString* fehler)
{
    const QString ordner = ordnerVon(pfad);
#ifdef Q_OS_UNIX
    if (ordnerGeteilt(ordner)) {
        // QSaveFile would write into a link's target; the rename here replaces only the name.
        QTemporaryFile neu(QDir(ordner).filePath(QFileInfo(pfad).fileName() + QStringLiteral(".XXXXXX")));
        bool ok = neu.open() && neu.write(bytes) == bytes.size() && synchronisiere(neu);
        if (ok && ::rename(QFile::encodeName(neu.fileName()).constData(), QFile::encodeName(pfad).constData()) != 0) {
            ok = false;
            if (fehler)
                *fehler = QString::fromLocal8Bit(std::strerror(errno));
        } else if (!ok && fehler) {
            *fehler = neu.errorString();
        }
        if (!ok)
            return false;
        neu.setAutoRemove(false);
        synchronisiereOrdner(ordner);
        return true;
    }
#endif
    QSaveFile datei(pfad);
    // Unbuffered, so that a short write (a full disk, a file-size limit) shows in what write()
    // returns: QSaveFile itself would commit a file that was cut short. Its commit puts the new
    // file on the disk before the rename.
    bool ok = datei.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (ok && datei.write(bytes) != bytes.size()) {
        ok = false;
        datei.cancelWriting();
    }
    if (ok)
        ok = datei.commit();
    if (!ok) {
        if (fehler)
            *fehler = datei.errorString();
        return false;
    }
    synchronisiereOrdner(ordner);
    return true;
}

bool synchronisiere(QFileDevice& datei)
{
    if (!datei.flush())
        return false;
#if defined(Q_OS_WIN)
    const auto griff = reinterpret_cast<HANDLE>(_get_osfhandle(datei.handle()));
    return griff != INVALID_HANDLE_VALUE && FlushFileBuffers(griff);
#elif defined(Q_OS_DARWIN)
    return ::fcntl(datei.handle(), F_FULLFSYNC) == 0 || ::fsync(datei.handle()) == 0;
#elif defined(Q_OS_UNIX)
    // A file system that cannot sync at all says EINVAL: there is nothing more to do.
    return ::fdatasync(datei.handle()) == 0 || errno == EINVAL;
#else
    return true;
#endif
}

void synchronisiereOrdner(const QString& ordner)
{
#if defined(Q_OS_UNIX)
    const int fd = ::open(QFile::encodeName(ordner).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(ordner);
#endif
}

} // namespace Dateischutz
