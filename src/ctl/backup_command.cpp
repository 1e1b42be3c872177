// backup HOST... [--dir D]: each device's settings into its own file,
// D/ADDRESS.json (ADDRESS_PORT.json for a device on another port).

#include "fleet_command.h"
#include "writing.h"

#include <QDir>

namespace ctl {

namespace {

class BackupCommand : public FleetCommand {
public:
    using FleetCommand::FleetCommand;

    int prepare(const CommandLine &line, QString &error) override
    {
        dir_ = line.isSet(QStringLiteral("dir")) ? line.value(QStringLiteral("dir")) : QStringLiteral(".");
        if (!QFileInfo(dir_).isDir()) {
            error = QStringLiteral("%1: no such folder").arg(dir_);
            return FileError;
        }
        return takeTargets(line.positional(), error);
    }

    void start() override
    {
        runFleet([this](HostSession &session, Fleet::Done done) {
            session.connectAndRead(settingsGroups(), [this, &session, done](const agent::JobResult &result) {
                if (!result.ok()) {
                    done(failed(result));
                    return;
                }
                const Target &target = session.target();
                QString name = target.address.toString();
                if (target.port)
                    name += QStringLiteral("_%1").arg(target.port);
                const QString path = QDir(dir_).filePath(name + QStringLiteral(".json"));
                const QString failure = config::saveSettingsFile(
                    path, config::settingsOf(session.identity(), session.device().store()));
                if (!failure.isEmpty()) {
                    done(HostOutcome{FileError, QString(), QStringLiteral("%1: %2").arg(path, failure)});
                    return;
                }
                done(HostOutcome{Success, QStringLiteral("%1: saved to %2\n").arg(session.name(), path)});
            });
        });
    }

private:
    QString dir_;
};

}  // namespace

CommandEntry backupCommand()
{
    return {QStringLiteral("backup"), QStringLiteral("HOST... [--dir D]"),
            QStringLiteral("Save each device's settings in a file.\n"
                           "D/ADDRESS.json, which restore takes back: "
                           "human-readable JSON with the file's format, the device's identity and the time.\n"
                           "A file is replaced only once the new one is complete."),
            {{{"dir"}, "D", "The folder for the files (default: the current folder)."}},
            true,
            [](Context &context) { return new BackupCommand(context); }};
}

}  // namespace ctl
