// get HOST... FIELD...: settings (and counters) by name, as FIELD=VALUE
// lines that set takes back.

#include "fleet_command.h"

#include "config/counter_names.h"
#include "config/field_text.h"

namespace ctl {

namespace {

class GetCommand : public FleetCommand {
public:
    using FleetCommand::FleetCommand;

    int prepare(const CommandLine &line, QString &error) override
    {
        QStringList hosts;
        const QVector<config::NamedCounter> counters = config::countersOf(config::ConfigurationStore());
        for (const QString &argument : line.positional()) {
            if (looksLikeTarget(argument)) {
                hosts << argument;
                continue;
            }
            const config::DeviceObject *object = config::settingNamed(argument);
            std::optional<config::Group> group;
            if (object) {
                group = object->group;
            } else {
                for (int i = 0; i < counters.size(); ++i) {
                    if (counters[i].name == argument)
                        group = i < config::WirelessStatisticsRecord::kCount ? config::Group::WirelessStatistics
                                                                             : config::Group::EthernetStatistics;
                }
            }
            if (!group) {
                error = QStringLiteral("\"%1\" is neither a host nor a setting or counter; see corvanectl get --help")
                            .arg(argument);
                return BadInput;
            }
            fields_ << argument;
            if (!groups_.contains(*group))
                groups_ << *group;
        }
        if (fields_.isEmpty()) {
            error = QStringLiteral("no FIELD given");
            return BadInput;
        }
        return takeTargets(hosts, error);
    }

    void start() override
    {
        const bool prefix = targets_.size() > 1;
        runFleet([this, prefix](HostSession &session, Fleet::Done done) {
            session.connectAndRead(groups_, [this, prefix, &session, done](const agent::JobResult &result) {
                if (!result.ok()) {
                    done(failed(result));
                    return;
                }
                const config::ConfigurationStore &store = session.device().store();
                const QVector<config::NamedCounter> counters = config::countersOf(store);
                HostOutcome outcome;
                for (const QString &field : std::as_const(fields_)) {
                    QString value;
                    if (const config::DeviceObject *object = config::settingNamed(field)) {
                        value = config::fieldText(*object, store);
                    } else {
                        for (const config::NamedCounter &counter : counters) {
                            if (counter.name == field)
                                value = QString::number(counter.value);
                        }
                    }
                    if (prefix)
                        outcome.out += session.name() + QLatin1Char(' ');
                    outcome.out += field + QLatin1Char('=') + value + QLatin1Char('\n');
                }
                done(outcome);
            });
        });
    }

private:
    QStringList fields_;
    QVector<config::Group> groups_;
};

}  // namespace

CommandEntry getCommand()
{
    return {QStringLiteral("get"), QStringLiteral("HOST... FIELD..."),
            QStringLiteral("Print settings or counters by name.\n"
                           "FIELD=VALUE lines, prefixed with the host when several are asked.\n"
                           "FIELD is a setting's name (see corvanectl set --help) or a counter's "
                           "(see corvanectl stats)."),
            {},
            true,
            [](Context &context) { return new GetCommand(context); }};
}

}  // namespace ctl
