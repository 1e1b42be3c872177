// set HOST... FIELD=VALUE...: every value checked against the device's
// rules before anything is sent; then each device is read (only groups
// read whole from it may be written back), the values put in, and what
// changed sent as the window sends it: the trap switch at once, the rest
// in one download that ends with the reset.

#include "fleet_command.h"
#include "writing.h"

#include "config/field_text.h"

namespace ctl {

namespace {

class SetCommand : public FleetCommand {
public:
    using FleetCommand::FleetCommand;

    int prepare(const CommandLine &line, QString &error) override
    {
        dryRun_ = line.isSet(QStringLiteral("dry-run"));
        QStringList hosts;
        config::ConfigurationStore scratch;
        for (const QString &argument : line.positional()) {
            const qsizetype equals = argument.indexOf(QLatin1Char('='));
            if (equals < 0) {
                hosts << argument;
                continue;
            }
            const QString field = argument.left(equals);
            const QString value = argument.mid(equals + 1);
            const config::DeviceObject *object = config::settingNamed(field);
            if (!object) {
                error = QStringLiteral("unknown setting \"%1\"; see corvanectl set --help").arg(field);
                return BadInput;
            }
            const QString why = config::setFieldFromText(*object, value, scratch);
            if (!why.isEmpty()) {
                error = QStringLiteral("%1=%2 is not accepted: %3").arg(field, value, why);
                return BadInput;
            }
            for (const auto &assignment : std::as_const(assignments_)) {
                if (assignment.first == object) {
                    error = QStringLiteral("%1 given twice").arg(field);
                    return BadInput;
                }
            }
            assignments_.append({object, value});
        }
        if (assignments_.isEmpty()) {
            error = QStringLiteral("no FIELD=VALUE given");
            return BadInput;
        }
        return takeTargets(hosts, error);
    }

    void start() override
    {
        QVector<config::Group> groups;
        for (config::Group group : settingsGroups()) {
            if (group != config::Group::HardConf)
                groups << group;
        }
        runFleet([this, groups](HostSession &session, Fleet::Done done) {
            session.connectAndRead(groups, [this, &session, done](const agent::JobResult &result) {
                if (!result.ok()) {
                    done(failed(result));
                    return;
                }
                const config::ConfigurationStore before = session.device().store();
                for (const auto &[object, value] : std::as_const(assignments_))
                    config::setFieldFromText(*object, value, session.device().store());
                QString text;
                for (const QString &line : differences(before, session.device().store()))
                    text += session.name() + QStringLiteral(": ") + line + QLatin1Char('\n');
                // A value the device ignores in its mode is kept out of the
                // download; say so rather than let the user think it was set.
                for (const auto &assignment : std::as_const(assignments_)) {
                    if (!assignment.first->takesPart(session.device().store()))
                        text += QStringLiteral("%1: %2 is not sent: the device uses it only in bridge mode or "
                                               "bridge-to-bridge mode\n")
                                    .arg(session.name(), assignment.first->field);
                }
                sendChanges(session, before, dryRun_, [text, done](HostOutcome outcome) {
                    outcome.out.prepend(text);
                    done(outcome);
                });
            });
        });
    }

private:
    bool dryRun_ = false;
    QVector<QPair<const config::DeviceObject *, QString>> assignments_;
};

QString settingsHelp()
{
    QString text = QStringLiteral("Settings:\n");
    for (const config::DeviceObject *object : config::settingObjects())
        text += QStringLiteral("  %1 %2\n").arg(object->field, -24).arg(config::acceptedText(*object));
    return text;
}

}  // namespace

CommandEntry setCommand()
{
    return {QStringLiteral("set"), QStringLiteral("HOST... FIELD=VALUE... [--dry-run]"),
            QStringLiteral("Change settings, as the window's Download Changes does.\n"
                           "Every value is checked before anything is sent. Each device is read first; what "
                           "changed is then sent: the trap switch at once, the other settings as whole groups "
                           "followed by a reset, so that the device takes them up.\n\n")
                + settingsHelp(),
            {{{"dry-run"}, "", "Read the devices, print the SETs that would be sent (objects, types, bytes), send none."}},
            true,
            [](Context &context) { return new SetCommand(context); }};
}

}  // namespace ctl
