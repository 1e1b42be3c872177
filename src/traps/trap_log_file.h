#pragma once
// The trap log file: entries are appended as they are, bytes unchanged; the
// file is made on first use and never truncated or rotated by us.
//
// The file stays open between traps (a flood must not cost an open and a
// close per trap) and is opened afresh when it was removed or replaced
// (rotated) meanwhile. It must be a regular file: a pipe with no reader or a
// device would hold the window, so the open never waits and anything else
// is refused. Each append is one write; an append the disk could take only
// in part is cut back to the end of its last whole entry, so a torn entry is
// never left glued to the next.

#include <QByteArray>
#include <QList>
#include <QString>

namespace traps {

inline const QString kTrapLogFileName = QStringLiteral("TrapLog.txt");

struct FileWriteResult {
    bool ok = false;
    int entriesWritten = 0;
    QString error;  // a text for the status line when not ok
};

class TrapLogFile {
public:
    TrapLogFile() = default;
    ~TrapLogFile();
    TrapLogFile(const TrapLogFile &) = delete;
    TrapLogFile &operator=(const TrapLogFile &) = delete;

    void setPath(const QString &path);
    QString path() const { return path_; }

    // Appends `bytes`, entries that end at `entryEnds` (offsets into
    // `bytes`, ascending, the last one bytes.size()), in one write. Opens the
    // file first when needed: appends to a file that is there, and makes one
    // only when there is none, so an existing log is never replaced.
    FileWriteResult append(const QByteArray &bytes, const QList<qsizetype> &entryEnds);
    FileWriteResult append(const QByteArray &entry) { return append(entry, {entry.size()}); }

    void close();

private:
    bool openIfNeeded(QString &why);

    QString path_;
    int fd_ = -1;
    quint64 device_ = 0;  // of the file open, to notice a replaced one
    quint64 inode_ = 0;
};

// Where the log goes when no file is named: beside the program when it runs
// from a folder it can write that is not part of an installed tree (a build
// tree, a portable copy), otherwise in the user's application data folder.
// An installed program run by root would otherwise write into /usr/bin.
QString trapLogPathFor(const QString &programFolder, const QString &userDataFolder);
// The same for this program; makes the user data folder when it is chosen.
QString defaultTrapLogPath();

}  // namespace traps
