// show HOST...: the full read of each device, as a table or as JSON.

#include "device_report.h"
#include "fleet_command.h"

#include "config/device_objects.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace ctl {

namespace {

class ShowCommand : public FleetCommand {
public:
    using FleetCommand::FleetCommand;

    int prepare(const CommandLine &line, QString &error) override
    {
        json_ = line.isSet(QStringLiteral("json"));
        return takeTargets(line.positional(), error);
    }

    void start() override
    {
        runFleet(
            [this](HostSession &session, Fleet::Done done) {
                session.connectAndRead(config::fullReadOrder(), [this, &session, done](const agent::JobResult &result) {
                    if (!result.ok()) {
                        done(failed(result));
                        return;
                    }
                    HostOutcome outcome;
                    if (json_)
                        outcome.json = reportJson(session.name(), session.identity(), session.device().store());
                    else
                        outcome.out = reportTable(session.name(), session.identity(), session.device().store()) + '\n';
                    done(outcome);
                });
            },
            [this](const Fleet &fleet) {
                if (json_) {
                    QJsonArray reports;
                    for (const HostOutcome &outcome : fleet.outcomes()) {
                        if (!outcome.json.isEmpty())
                            reports.append(outcome.json);
                    }
                    out() << QJsonDocument(reports).toJson(QJsonDocument::Indented) << Qt::flush;
                }
                return fleet.status().code();
            });
    }

private:
    bool json_ = false;
};

}  // namespace

CommandEntry showCommand()
{
    return {QStringLiteral("show"), QStringLiteral("HOST... [--json]"),
            QStringLiteral("Read each device whole: identity, settings, counters.\n"
                           "Several devices are read at once; each is printed as a table, in the order given, "
                           "or all as one JSON array with --json."),
            {{{"json"}, "", "Print JSON for scripts."}},
            true,
            [](Context &context) { return new ShowCommand(context); }};
}

}  // namespace ctl
