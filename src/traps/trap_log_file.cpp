#include "trap_log_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace traps {

namespace {

// Unbuffered: the entry goes to the system in a single write.
constexpr QIODevice::OpenMode kAppend =
    QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly | QIODevice::Unbuffered;
constexpr QIODevice::OpenMode kCreate = QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered;

FileWriteResult failure(const QString &path, const QString &why)
{
    return {false, QStringLiteral("Trap not saved to %1: %2").arg(QDir::toNativeSeparators(path), why)};
}

}  // namespace

FileWriteResult appendToTrapLogFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    // Appending to a file that is there; making one only when there is
    // none, so an existing log is never replaced. Someone may make the file
    // between the two attempts: then append to theirs.
    bool open = file.open(kAppend);
    if (!open && !QFileInfo::exists(path)) {
        open = file.open(kCreate);
        if (!open && QFileInfo::exists(path))
            open = file.open(kAppend);
    }
    if (!open)
        return failure(path, file.errorString());
    if (file.write(bytes) != bytes.size())
        return failure(path, file.errorString());
    file.close();
    if (file.error() != QFileDevice::NoError)
        return failure(path, file.errorString());
    return {true, QString()};
}

QString trapLogPathFor(const QString &programFolder, const QString &userDataFolder)
{
    const QFileInfo program(programFolder);
    const QString folder = program.isDir() && program.isWritable() ? programFolder : userDataFolder;
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
