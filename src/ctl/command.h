#pragma once
// A subcommand: it checks its arguments before anything is sent, then does
// its work from the event loop and ends with an exit status.

#include "command_line.h"
#include "context.h"
#include "exit_codes.h"

#include <QObject>
#include <functional>

namespace ctl {

class Command : public QObject {
    Q_OBJECT
public:
    explicit Command(Context &context) : context_(context) {}

    // The arguments, checked: Success, or an exit status with `error`.
    virtual int prepare(const CommandLine &line, QString &error) = 0;
    virtual void start() = 0;

signals:
    void finished(int exitCode);

protected:
    // Ends the command from the event loop.
    void finish(int exitCode)
    {
        QMetaObject::invokeMethod(this, [this, exitCode] { emit finished(exitCode); }, Qt::QueuedConnection);
    }
    QTextStream &out() { return context_.console.out; }
    QTextStream &err() { return context_.console.err; }

    Context &context_;
};

struct CommandEntry {
    QString name;
    QString usage;    // after the name
    QString summary;  // what it does, a few lines
    QVector<OptionEntry> options;
    bool talksToDevices = true;
    std::function<Command *(Context &)> make;
};

// Every subcommand, in the order the overall help lists them.
const QVector<CommandEntry> &commandEntries();

// One per subcommand file.
CommandEntry scanCommand();
CommandEntry showCommand();
CommandEntry getCommand();
CommandEntry setCommand();
CommandEntry backupCommand();
CommandEntry restoreCommand();
CommandEntry statsCommand();
CommandEntry trapsCommand();
CommandEntry resetCommand();
CommandEntry restoreDefaultsCommand();
CommandEntry wepKeysCommand();

}  // namespace ctl
