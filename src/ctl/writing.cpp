#include "writing.h"

#include "agent/download_job.h"
#include "agent/set_job.h"
#include "config/device_objects.h"
#include "config/field_text.h"
#include "snmp/ber.h"

#include <algorithm>

namespace ctl {

namespace {

using config::Group;

// Only objects the device takes up as `after` stands: a BSSID typed for an
// access point changes nothing that would be sent.
bool groupChanged(Group group, const config::ConfigurationStore &before, const config::ConfigurationStore &after)
{
    for (const config::DeviceObject &object : config::deviceObjects()) {
        if (object.group == group && object.same && object.takesPart(after) && !object.same(before, after))
            return true;
    }
    return false;
}

bool downloadNeeded(const config::ConfigurationStore &before, const config::ConfigurationStore &after)
{
    for (Group group : config::downloadedGroups()) {
        if (groupChanged(group, before, after))
            return true;
    }
    return false;
}

QString typeName(snmp::ValueKind kind)
{
    switch (kind) {
    case snmp::ValueKind::Integer: return QStringLiteral("INTEGER");
    case snmp::ValueKind::OctetString: return QStringLiteral("OCTET STRING");
    case snmp::ValueKind::IpAddress: return QStringLiteral("IpAddress");
    default: return QStringLiteral("?");
    }
}

// The value's content octets as they go on the wire, and what they mean.
QString setLine(const QString &name, const snmp::Value &value)
{
    QByteArray bytes = value.bytes;
    QString meaning;
    if (value.kind == snmp::ValueKind::Integer) {
        bytes = snmp::ber::encodeSignedInteger(qint32(value.number)).mid(2);
        meaning = QString::number(value.number);
    } else if (value.kind == snmp::ValueKind::IpAddress) {
        meaning = QString::fromLatin1(snmp::valueText(value));
    } else if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) {
        meaning = QLatin1Char('"') + QString::fromLatin1(value.bytes) + QLatin1Char('"');
    }
    const QString hex = QString::fromLatin1(bytes.toHex(' ').toUpper());
    if (meaning.isEmpty())
        return QStringLiteral("  SET %1.0 %2 %3\n").arg(name, typeName(value.kind), hex);
    return QStringLiteral("  SET %1.0 %2 %3 (%4)\n").arg(name, typeName(value.kind), hex, meaning);
}

QString dryRunText(const QString &host, const config::ConfigurationStore &before,
                   const config::ConfigurationStore &after)
{
    QString text = host + QStringLiteral(": would send (--dry-run: nothing sent)\n");
    if (before.sysTrapSwitch != after.sysTrapSwitch)
        text += setLine(QStringLiteral("sysTrapSwitch"), snmp::Value::integer(after.sysTrapSwitch));
    if (!downloadNeeded(before, after))
        return text;
    for (Group group : config::downloadedGroups()) {
        for (const config::Binding &binding : config::encodeGroup(group, after).value_or(QVector<config::Binding>()))
            text += setLine(binding.object->name, binding.value);
    }
    return text + setLine(QStringLiteral("sysReset"), snmp::Value::integer(1));
}

}  // namespace

const QVector<Group> &settingsGroups()
{
    static const QVector<Group> groups = {Group::HardConf, Group::WirelessOperational, Group::IPSettings,
                                          Group::Privacy,  Group::Traps,               Group::BridgeOperationalMode};
    return groups;
}

QStringList differences(const config::ConfigurationStore &before, const config::ConfigurationStore &after)
{
    QStringList lines;
    for (const config::DeviceObject *object : config::settingObjects()) {
        if (!object->takesPart(after))
            continue;
        const QString old = config::fieldText(*object, before);
        const QString now = config::fieldText(*object, after);
        if (old != now)
            lines << QStringLiteral("%1: %2 -> %3").arg(object->field, old, now);
    }
    return lines;
}

void sendChanges(HostSession &session, const config::ConfigurationStore &before, bool dryRun, Fleet::Done done)
{
    const config::ConfigurationStore after = session.device().store();
    const QString host = session.name();
    if (dryRun) {
        done(HostOutcome{Success, dryRunText(host, before, after)});
        return;
    }
    auto download = [&session, host, done](QString text) {
        auto *job = new agent::DownloadJob(session.device());
        session.run(job, [host, done, text](const agent::JobResult &result) {
            HostOutcome outcome{exitCodeOf(result), text};
            if (result.ok())
                outcome.out += host + QStringLiteral(": Download complete successfully\n");
            else
                outcome.failure = failureText(result);
            done(outcome);
        });
    };
    const bool needDownload = downloadNeeded(before, after);
    if (before.sysTrapSwitch == after.sysTrapSwitch) {
        if (needDownload)
            download(QString());
        else
            done(HostOutcome{Success, host + QStringLiteral(": nothing to change\n")});
        return;
    }
    const bool enable = after.sysTrapSwitch == 1;
    session.run(agent::SetJob::trapSwitch(session.device(), enable),
                [host, enable, needDownload, download, done](const agent::JobResult &result) {
                    if (!result.ok()) {
                        done(HostOutcome{exitCodeOf(result), QString(), failureText(result)});
                        return;
                    }
                    const QString text =
                        host + (enable ? QStringLiteral(": SNMP traps Enabled....\n") : QStringLiteral(": SNMP traps Disabled....\n"));
                    if (needDownload)
                        download(text);
                    else
                        done(HostOutcome{Success, text});
                });
}

}  // namespace ctl
