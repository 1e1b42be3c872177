#include "trap_log_file.h"

#include "config/data_locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace traps {

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

FileWriteResult failure(const QString &path, const QString &why, int written = 0)
{
    return {false, written, QStringLiteral("Trap not saved to %1: %2").arg(QDir::toNativeSeparators(path), why)};
}

// Neither waits (a pipe with no reader, a device) nor follows into a
// terminal; the descriptor is not passed on to programs we start.
constexpr int kOpenFlags = O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

}  // namespace

TrapLogFile::~TrapLogFile()
{
    close();
}

void TrapLogFile::setPath(const QString &path)
{
    if (path == path_)
        return;
    close();
    path_ = path;
}

void TrapLogFile::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool TrapLogFile::openIfNeeded(QString &why)
{
    const QByteArray name = QFile::encodeName(path_);
    struct stat onDisk {};
    if (fd_ >= 0) {
        // Still the file at the path? A log rotated or removed meanwhile is
        // followed by a new file, not written into the old one.
        if (::stat(name.constData(), &onDisk) == 0 && quint64(onDisk.st_dev) == device_
            && quint64(onDisk.st_ino) == inode_)
            return true;
        close();
    }
    int fd = ::open(name.constData(), kOpenFlags);
    if (fd < 0 && errno == ENOENT)
        fd = ::open(name.constData(), kOpenFlags | O_CREAT | O_EXCL, 0666);
    if (fd < 0 && errno == EEXIST)  // made by someone else in between: append to theirs
        fd = ::open(name.constData(), kOpenFlags);
    if (fd < 0) {
        why = errno == ENXIO ? QStringLiteral("not a regular file (a pipe or device)") : systemReason(errno);
        return false;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        why = S_ISDIR(opened.st_mode) ? systemReason(EISDIR) : QStringLiteral("not a regular file (a pipe or device)");
        ::close(fd);
        return false;
    }
    fd_ = fd;
    device_ = quint64(opened.st_dev);
    inode_ = quint64(opened.st_ino);
    return true;
}

FileWriteResult TrapLogFile::append(const QByteArray &bytes, const QList<qsizetype> &entryEnds)
{
    if (bytes.isEmpty())
        return {true, 0, QString()};
    QString why;
    if (!openIfNeeded(why))
        return failure(path_, why);
    const off_t start = ::lseek(fd_, 0, SEEK_END);
    // One write; only a disk that takes part of it is asked again for the
    // rest, and then answers with its reason (a full disk: ENOSPC).
    qsizetype done = 0;
    int error = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += qsizetype(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
    }
    if (done == bytes.size())
        return {true, int(entryEnds.size()), QString()};

    int whole = 0;
    qsizetype keep = 0;
    while (whole < entryEnds.size() && entryEnds[whole] <= done)
        keep = entryEnds[whole++];
    // A torn entry would glue its beginning to the next one's: cut it off.
    why = systemReason(error);
    if (keep < done && (start < 0 || ::ftruncate(fd_, start + off_t(keep)) != 0))
        why += QStringLiteral("; the file ends in a part of an entry");
    return failure(path_, why, whole);
}

QString trapLogPathFor(const QString &programFolder, const QString &userDataFolder)
{
    const QFileInfo program(programFolder);
    const bool besideProgram = program.isDir() && program.isWritable() && !config::runsInstalled(programFolder);
    const QString folder = besideProgram ? programFolder : userDataFolder;
    return QDir(folder).filePath(kTrapLogFileName);
}

QString defaultTrapLogPath()
{
    const QString path = trapLogPathFor(QCoreApplication::applicationDirPath(),
                                        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QDir().mkpath(QFileInfo(path).absolutePath());  // a user data folder may not be there yet
    return path;
}

}  // namespace traps
