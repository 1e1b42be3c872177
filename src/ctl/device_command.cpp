// reset HOST... and restore-defaults HOST...: one command to each device,
// after a question (or --yes), with the window's texts.

#include "fleet_command.h"

#include "agent/set_job.h"

namespace ctl {

namespace {

struct DeviceAction {
    QString question;
    QString issued;
    QString notIssued;
    agent::SetJob *(*make)(agent::Device &, QObject *);
};

class DeviceCommand : public FleetCommand {
public:
    DeviceCommand(Context &context, const DeviceAction &action) : FleetCommand(context), action_(action) {}

    int prepare(const CommandLine &line, QString &error) override
    {
        yes_ = line.isSet(QStringLiteral("yes"));
        const int taken = takeTargets(line.positional(), error);
        if (taken != Success)
            return taken;
        if (!yes_ && !context_.console.interactive) {
            error = QStringLiteral("standard input is no terminal to ask on: give --yes");
            return BadInput;
        }
        return Success;
    }

    void start() override
    {
        if (!yes_ && !context_.console.confirm(action_.question.arg(targets_.size()))) {
            err() << "corvanectl: nothing sent\n";
            finish(NotDone);
            return;
        }
        runFleet([this](HostSession &session, Fleet::Done done) {
            session.run(action_.make(session.device(), nullptr), [this, &session, done](const agent::JobResult &result) {
                HostOutcome outcome{exitCodeOf(result)};
                if (result.ok())
                    outcome.out = session.name() + QStringLiteral(": ") + action_.issued + QLatin1Char('\n');
                else
                    outcome.failure = action_.notIssued + QStringLiteral(" (") + failureText(result) + QLatin1Char(')');
                done(outcome);
            });
        });
    }

private:
    DeviceAction action_;
    bool yes_ = false;
};

const QVector<OptionEntry> kYes = {{{"y", "yes"}, "", "Do not ask; needed when standard input is not a terminal."}};

}  // namespace

CommandEntry resetCommand()
{
    return {QStringLiteral("reset"), QStringLiteral("HOST... [--yes]"),
            QStringLiteral("Restart each device; it takes up its stored settings."), kYes, true, [](Context &context) {
                return new DeviceCommand(context, {QStringLiteral("Reset %1 device(s)?"),
                                                   QStringLiteral("Reset command issued...."),
                                                   QStringLiteral("Error - Reset command not issued..."),
                                                   agent::SetJob::reset});
            }};
}

CommandEntry restoreDefaultsCommand()
{
    return {QStringLiteral("restore-defaults"), QStringLiteral("HOST... [--yes]"),
            QStringLiteral("Put each device back to its factory settings.\n"
                           "Address 192.168.1.250, community \"kavrel\": back up first."),
            kYes, true, [](Context &context) {
                return new DeviceCommand(context, {QStringLiteral("Restore the factory defaults of %1 device(s)?"),
                                                   QStringLiteral("Restore Defaults command issued...."),
                                                   QStringLiteral("Error - Restore Defaults command not issued..."),
                                                   agent::SetJob::restoreDefaults});
            }};
}

}  // namespace ctl
