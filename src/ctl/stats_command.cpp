// stats HOST... [--watch S] [--csv] [--count N]: the counters once, or
// every S seconds as rates per second.

#include "device_report.h"
#include "fleet_command.h"

#include "agent/read_job.h"
#include "config/counter_names.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>

namespace ctl {

namespace {

struct Sample {
    QVector<config::NamedCounter> counters;
    qint64 atMs = 0;
};

class StatsCommand : public FleetCommand {
public:
    using FleetCommand::FleetCommand;

    int prepare(const CommandLine &line, QString &error) override
    {
        csv_ = line.isSet(QStringLiteral("csv"));
        if (!line.number(QStringLiteral("watch"), 1, 86400, watchSeconds_, error)
            || !line.number(QStringLiteral("count"), 1, 1000000, rounds_, error))
            return BadInput;
        watching_ = line.isSet(QStringLiteral("watch"));
        return takeTargets(line.positional(), error);
    }

    void start() override
    {
        clock_.start();
        if (csv_) {
            QStringList header{QStringLiteral("host")};
            if (watching_)
                header.prepend(QStringLiteral("time"));
            for (const config::NamedCounter &counter : config::countersOf(config::ConfigurationStore()))
                header << counter.name;
            out() << header.join(QLatin1Char(',')) << '\n';
        }
        round();
    }

private:
    void round()
    {
        runRound([this](const Fleet &fleet) {
            ++done_;
            status_ = fleet.status();
            // The first round of a watch only sets the base for the rates.
            if (!watching_ || done_ > rounds_) {
                finish(status_.code());
                return;
            }
            QTimer::singleShot(watchSeconds_ * 1000, this, [this] { round(); });
        });
    }

    void runRound(std::function<void(const Fleet &)> whenDone)
    {
        auto *fleet = new Fleet(context_, targets_, this);
        connect(fleet, &Fleet::finished, this, [fleet, whenDone] {
            whenDone(*fleet);
            fleet->deleteLater();
        });
        fleet->start([this](HostSession &session, Fleet::Done done) {
            session.run(agent::ReadJob::statistics(session.device()), [this, &session, done](const agent::JobResult &result) {
                if (!result.ok()) {
                    done(failed(result));
                    return;
                }
                done(HostOutcome{Success, sampleText(session.name(), session.device().store())});
            });
        });
    }

    QString sampleText(const QString &host, const config::ConfigurationStore &store)
    {
        Sample now{config::countersOf(store), clock_.elapsed()};
        const std::optional<Sample> before = samples_.value(host);
        samples_.insert(host, now);
        if (!watching_) {
            if (!csv_)
                return host + QLatin1Char('\n') + countersTable(store) + QLatin1Char('\n');
            QStringList row{host};
            for (const config::NamedCounter &counter : now.counters)
                row << QString::number(counter.value);
            return row.join(QLatin1Char(',')) + QLatin1Char('\n');
        }
        if (!before)
            return QString();
        const double seconds = qMax<qint64>(1, now.atMs - before->atMs) / 1000.0;
        const QString time = QDateTime::currentDateTime().toString(Qt::ISODate);
        QStringList row{time, host};
        QString text;
        for (int i = 0; i < now.counters.size(); ++i) {
            const config::Counter old = before->counters[i].value;
            const config::Counter value = now.counters[i].value;
            // A counter that went down was reset (the device restarted): no rate.
            const QString rate = value < old ? QString() : QString::number((value - old) / seconds, 'f', 1);
            row << rate;
            if (rate.isEmpty() || value != old)
                text += QStringLiteral("%1 %2 %3 %4/s\n")
                            .arg(time, host, now.counters[i].name, rate.isEmpty() ? QStringLiteral("reset") : rate);
        }
        return csv_ ? row.join(QLatin1Char(',')) + QLatin1Char('\n') : text;
    }

    bool csv_ = false;
    bool watching_ = false;
    int watchSeconds_ = 10;
    int rounds_ = std::numeric_limits<int>::max();
    int done_ = 0;
    ExitStatus status_;
    QElapsedTimer clock_;
    QHash<QString, std::optional<Sample>> samples_;
};

}  // namespace

CommandEntry statsCommand()
{
    return {QStringLiteral("stats"), QStringLiteral("HOST... [--watch S] [--csv] [--count N]"),
            QStringLiteral("Print the counters, once or as rates.\n"
                           "Wireless, Ethernet received and transmitted.\n"
                           "With --watch S: read them every S seconds and print, from the second reading on, the "
                           "rate of each counter per second (a line for each counter that moved; every counter "
                           "with --csv). Runs until interrupted, or for N rates with --count."),
            {{{"watch"}, "S", "Read every S seconds and print rates per second."},
             {{"csv"}, "", "Print comma-separated values with a header line."},
             {{"count"}, "N", "With --watch: stop after N rates."}},
            true,
            [](Context &context) { return new StatsCommand(context); }};
}

}  // namespace ctl
