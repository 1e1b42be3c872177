#pragma once
// The trap log file: each entry is appended as it is, bytes unchanged; the
// file is made on first use and never truncated or rotated.

#include <QByteArray>
#include <QString>

namespace traps {

inline const QString kTrapLogFileName = QStringLiteral("TrapLog.txt");

struct FileWriteResult {
    bool ok = false;
    QString error;  // a text for the status line when not ok
};

// Opens `path` for appending; when there is no such file, creates it. The
// bytes go out in one write. A file that exists but cannot be opened or
// written is left as it is.
FileWriteResult appendToTrapLogFile(const QString &path, const QByteArray &bytes);

// Where the log goes when no file is named: beside the program when its
// folder can be written (a build tree, a portable copy), otherwise in the
// user's application data folder (an installed program).
QString trapLogPathFor(const QString &programFolder, const QString &userDataFolder);
// The same for this program; makes the user data folder when it is chosen.
QString defaultTrapLogPath();

}  // namespace traps
