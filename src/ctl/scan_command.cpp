// scan [RANGE...]: every device that answers the probe, one line each:
// address, firmware, Ethernet address, ESSID, channel (tab-separated).
// Without ranges the probe goes to the scan address (the broadcast) and
// every device that answers is taken; with ranges each address is probed
// on its own, a bounded number at once.

#include "fleet_command.h"

#include "agent/probe_job.h"
#include "agent/read_job.h"
#include "config/encodings.h"
#include "config/settings_file.h"

namespace ctl {

namespace {

const QVector<config::Group> kScanGroups = {config::Group::WirelessOperational, config::Group::IPSettings};

class ScanCommand : public FleetCommand {
public:
    using FleetCommand::FleetCommand;

    int prepare(const CommandLine &line, QString &error) override
    {
        scanAddress_ = line.isSet(QStringLiteral("scan-address")) ? line.value(QStringLiteral("scan-address"))
                                                                  : QStringLiteral("255.255.255.255");
        if (!agent::addressFromText(scanAddress_)) {
            error = QStringLiteral("--scan-address: \"%1\" is not an IPv4 address").arg(scanAddress_);
            return BadInput;
        }
        if (line.positional().isEmpty())
            return Success;
        return takeTargets(line.positional(), error);
    }

    void start() override
    {
        if (targets_.isEmpty())
            broadcast();
        else
            probeEach();
    }

private:
    // A found device's line, after reading what it shows.
    static void describe(HostSession &session, Fleet::Done done)
    {
        session.run(new agent::ReadJob(session.device(), kScanGroups), [&session, done](const agent::JobResult &result) {
            if (!result.ok()) {
                done(failed(result));
                return;
            }
            const config::ConfigurationStore &s = session.device().store();
            done(HostOutcome{Success, QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                                          .arg(session.name(), config::firmwareText(session.description()),
                                               s.operEthernetAddress, s.operESSID)
                                          .arg(s.operChannelID)});
        });
    }

    void probeEach()
    {
        runFleet(
            [this](HostSession &session, Fleet::Done done) {
                session.connectAndRead({}, [&session, done](const agent::JobResult &result) {
                    if (result.error == agent::JobResult::Timeout) {
                        HostOutcome silent;
                        silent.counts = false;  // nothing there
                        done(silent);
                        return;
                    }
                    if (!result.ok()) {
                        done(failed(result));
                        return;
                    }
                    describe(session, done);
                });
            },
            [](const Fleet &fleet) { return foundStatus(fleet); });
    }

    void broadcast()
    {
        probeDevice_ = std::make_unique<agent::Device>(context_.engine, context_.mib);
        probeDevice_->setPort(context_.options.port);
        probeDevice_->setCommunity(context_.options.community);
        probeDevice_->setTimeScale(context_.options.timeoutMs / 1000.0);
        auto *probe = agent::ProbeJob::scan(*probeDevice_, scanAddress_, this);
        probe->setProbes(context_.options.retries + 1);
        connect(probe, &agent::Job::finished, this, [this, probe](const agent::JobResult &result) {
            if (!result.ok() && result.error != agent::JobResult::Timeout) {
                err() << "corvanectl scan: " << scanAddress_ << ": " << failureText(result) << Qt::endl;
                finish(exitCodeOf(result));
                return;
            }
            descriptions_.clear();
            for (const agent::ProbeJob::Responder &responder : probe->responders()) {
                targets_.append(Target{responder.address, 0});
                descriptions_.append(responder.description);
            }
            runFleet(
                [this](HostSession &session, Fleet::Done done) {
                    // The answer to the probe told what it is; the rest is read.
                    const int index = targets_.indexOf(session.target());
                    session.setDescription(descriptions_.value(index));
                    describe(session, done);
                },
                [](const Fleet &fleet) { return foundStatus(fleet); });
        });
        probe->start();
    }

    static int foundStatus(const Fleet &fleet)
    {
        if (fleet.status().hosts() == 0) {
            return NoAnswer;
        }
        return fleet.status().code();
    }

    QString scanAddress_;
    std::unique_ptr<agent::Device> probeDevice_;
    QStringList descriptions_;
};

}  // namespace

CommandEntry scanCommand()
{
    return {QStringLiteral("scan"), QStringLiteral("[RANGE...] [--scan-address A]"),
            QStringLiteral("Find the devices that answer.\n"
                           "One line each: address, firmware, Ethernet address, ESSID, channel (separated by tabs).\n"
                           "Without RANGE the probe goes to the scan address (255.255.255.255 unless "
                           "--scan-address) and every device that answers is listed. RANGE: an address, a network "
                           "(192.168.1.0/24) or a span (10.0.0.5-10.0.0.80); each address is probed, --concurrency "
                           "at once. No device found: exit status 3."),
            {{{"scan-address"}, "A", "Where the probe goes without RANGE (default 255.255.255.255)."}},
            true,
            [](Context &context) { return new ScanCommand(context); }};
}

}  // namespace ctl
