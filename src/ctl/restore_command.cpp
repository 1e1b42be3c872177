// restore FILE HOST...: a settings file back onto devices, its own or
// others (a clone). The file is checked whole before anything is sent;
// each device is read, the differences printed, the user asked (or
// --yes), and then what differs is sent as set sends it.
//
// A device keeps its own IP address and Ethernet address unless
// --with-address: the file may be another device's (a clone), and two
// devices with one address disturb the whole network. Bringing a device
// back to its own backup after a factory reset takes --with-address.

#include "fleet_command.h"
#include "writing.h"


namespace ctl {

namespace {

class RestoreCommand : public FleetCommand {
public:
    using FleetCommand::FleetCommand;

    int prepare(const CommandLine &line, QString &error) override
    {
        yes_ = line.isSet(QStringLiteral("yes"));
        dryRun_ = line.isSet(QStringLiteral("dry-run"));
        withAddress_ = line.isSet(QStringLiteral("with-address"));
        const QStringList arguments = line.positional();
        if (arguments.isEmpty()) {
            error = QStringLiteral("no FILE given");
            return BadInput;
        }
        const config::SettingsFileLoad read = config::loadSettingsFile(arguments.first());
        if (!read.file) {
            error = QStringLiteral("%1: %2").arg(arguments.first(), read.error);
            if (read.opened)
                error += QStringLiteral("; nothing sent");
            return FileError;
        }
        settings_ = *read.file;
        const int taken = takeTargets(arguments.mid(1), error);
        if (taken != Success)
            return taken;
        // Asked before a byte goes out: a script without --yes must not
        // read every device only to stop at a question nobody sees.
        if (!yes_ && !dryRun_ && !context_.console.interactive) {
            error = QStringLiteral("standard input is no terminal to ask on: give --yes to restore without asking");
            return BadInput;
        }
        return Success;
    }

    void start() override
    {
        auto *reading = new Fleet(context_, targets_, this);
        reading->setKeepSessions(true);  // for the download
        connect(reading, &Fleet::finished, this, [this, reading] { confirmThenSend(*reading); });
        reading->start([this](HostSession &session, Fleet::Done done) {
            session.connectAndRead(settingsGroups(), [this, &session, done](const agent::JobResult &result) {
                if (!result.ok()) {
                    done(failed(result));
                    return;
                }
                config::ConfigurationStore &store = session.device().store();
                const config::ConfigurationStore before = store;
                QStringList keep;
                if (!withAddress_)
                    keep = {QStringLiteral("ip-address"), QStringLiteral("ethernet-address")};
                config::applySettings(settings_, store, keep);
                HostOutcome outcome;
                const QStringList lines = differences(before, store);
                for (const QString &line : lines)
                    outcome.out += session.name() + QStringLiteral(": ") + line + QLatin1Char('\n');
                if (lines.isEmpty())
                    outcome.out = session.name() + QStringLiteral(": nothing to change\n");
                if (!lines.isEmpty())
                    pending_.append({&session, before});
                done(outcome);
            });
        });
    }

private:
    struct Pending {
        HostSession *session;
        config::ConfigurationStore before;
    };

    void confirmThenSend(const Fleet &reading)
    {
        readStatus_ = reading.status();
        if (pending_.isEmpty()) {
            finish(readStatus_.code());
            return;
        }
        if (!yes_ && !dryRun_
            && !context_.console.confirm(QStringLiteral("Download these changes to %1 device(s)?").arg(pending_.size()))) {
            err() << "corvanectl restore: nothing sent\n";
            finish(NotDone);
            return;
        }
        sendNext();
    }

    // One device after another: the question covered them all, and the
    // number of devices a restore changes is small.
    void sendNext()
    {
        if (pending_.isEmpty()) {
            finish(readStatus_.code());
            return;
        }
        const Pending pending = pending_.takeFirst();
        HostSession *session = pending.session;
        sendChanges(*session, pending.before, dryRun_, [this, session](const HostOutcome &outcome) {
            out() << outcome.out << Qt::flush;
            if (!outcome.failure.isEmpty())
                err() << session->name() << ": " << outcome.failure << Qt::endl;
            readStatus_.add(outcome.code);
            QMetaObject::invokeMethod(this, &RestoreCommand::sendNext, Qt::QueuedConnection);
        });
    }

    bool yes_ = false;
    bool dryRun_ = false;
    bool withAddress_ = false;
    config::SettingsFile settings_;
    QVector<Pending> pending_;
    ExitStatus readStatus_;
};

}  // namespace

CommandEntry restoreCommand()
{
    return {QStringLiteral("restore"), QStringLiteral("FILE HOST... [--yes] [--with-address] [--dry-run]"),
            QStringLiteral(
                "Put a settings file written by backup onto devices.\n"
                "The file is checked first: one from a newer format, not a settings file, with an unknown "
                "setting or a value the device would refuse is refused and nothing is sent. Each device is "
                "read, the differences are printed, and the changes are sent after a question on the terminal "
                "(or at once with --yes).\n"
                "Each device keeps its own ip-address and ethernet-address unless --with-address, so that the "
                "same file sets up many devices (a clone) without giving two of them one address. A device "
                "brought back to its own backup (after restore-defaults, say) takes --with-address."),
            {{{"y", "yes"}, "", "Do not ask; needed when standard input is not a terminal."},
             {{"with-address"}, "", "Also restore ip-address and ethernet-address."},
             {{"dry-run"}, "", "Print the differences and the SETs that would be sent; send none."}},
            true,
            [](Context &context) { return new RestoreCommand(context); }};
}

}  // namespace ctl
