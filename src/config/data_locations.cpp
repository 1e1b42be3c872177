#include "data_locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// The build gives the installed data folder relative to the installed
// programs' folder; this is what the usual layout makes of it.
#ifndef CORVANE_DATA_FROM_PROGRAM
#define CORVANE_DATA_FROM_PROGRAM "../share/corvane-manager"
#endif

namespace config {

namespace {

const QString kDataFromProgram = QStringLiteral(CORVANE_DATA_FROM_PROGRAM);

QString installedDataFolder(const QString &programFolder)
{
    return QDir::cleanPath(QDir(programFolder).filePath(kDataFromProgram));
}

}  // namespace

QStringList dataFolders(const QString &programFolder)
{
    QStringList folders{QDir::cleanPath(programFolder), installedDataFolder(programFolder)};
    const QString ownName = QFileInfo(kDataFromProgram).fileName();
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir::cleanPath(QDir(data).filePath(ownName));
    folders.removeDuplicates();
    return folders;
}

QStringList dataFolders()
{
    return dataFolders(QCoreApplication::applicationDirPath());
}

QString findDataFile(const QString &fileName, const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QFileInfo file(QDir(folder).filePath(fileName));
        if (file.isFile())
            return file.filePath();
    }
    return QString();
}

QString findDataFile(const QString &fileName)
{
    return findDataFile(fileName, dataFolders());
}

bool runsInstalled(const QString &programFolder)
{
    return QFileInfo(installedDataFolder(programFolder)).isDir();
}

}  // namespace config
