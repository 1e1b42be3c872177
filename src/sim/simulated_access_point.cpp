#include "simulated_access_point.h"

#include "config/device_mib.h"
#include "device_objects.h"
#include "factory_values.h"
#include "sim_logging.h"
#include "statistics_counters.h"

#include <QFile>
#include <QtEndian>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>

namespace sim {

namespace {

bool oidLess(const snmp::Oid &a, const snmp::Oid &b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

// Objects whose value follows the clock.
std::optional<StatisticsGroup> statisticsGroupOf(const QString &name)
{
    if (name == QLatin1String("wirelessStatistics"))
        return StatisticsGroup::Wireless;
    if (name == QLatin1String("EthRxStatistics"))
        return StatisticsGroup::EthernetRx;
    if (name == QLatin1String("EthTxStatistics"))
        return StatisticsGroup::EthernetTx;
    return std::nullopt;
}

}  // namespace

SimulatedAccessPoint::SimulatedAccessPoint(QObject *parent) : QObject(parent)
{
    uptime_.start();
    loadMib();
    buildInstances();
    restoreFactoryValues();
}

SimulatedAccessPoint::~SimulatedAccessPoint() = default;

void SimulatedAccessPoint::loadMib()
{
    QFile file(config::builtInMibPath());
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcSim) << "cannot open" << file.fileName() << file.errorString();
    } else {
        const snmp::Mib::LoadResult result = mib_.loadText(file.readAll(), QStringLiteral("CorvaneMIB.mib"));
        if (!result.ok)
            qCWarning(lcSim) << "MIB not loaded:" << result.error;
    }
    if (!snmp::oidFromText(mib_.OidOf(QStringLiteral("corvane")), enterprise_))
        snmp::oidFromText(mib_.OidOf(QStringLiteral("enterprises")), enterprise_);
}

void SimulatedAccessPoint::buildInstances()
{
    instances_.clear();
    for (const DeviceObject &object : deviceObjects()) {
        snmp::Oid oid;
        if (!snmp::oidFromText(mib_.OidOf(object.name), oid)) {
            qCWarning(lcSim) << "no object identifier for" << object.name << "- the agent leaves it out";
            continue;
        }
        oid.append(0);
        instances_.append(Instance{oid, object.name});
    }
    std::sort(instances_.begin(), instances_.end(),
              [](const Instance &a, const Instance &b) { return oidLess(a.oid, b.oid); });
}

QString SimulatedAccessPoint::nameOfInstance(const snmp::Oid &oid) const
{
    const auto it = std::lower_bound(instances_.begin(), instances_.end(), oid,
                                     [](const Instance &a, const snmp::Oid &b) { return oidLess(a.oid, b); });
    return it != instances_.end() && it->oid == oid ? it->name : QString();
}

const SimulatedAccessPoint::Instance *SimulatedAccessPoint::nextInstanceAfter(const snmp::Oid &oid) const
{
    auto it = std::upper_bound(instances_.begin(), instances_.end(), oid,
                               [](const snmp::Oid &a, const Instance &b) { return oidLess(a, b.oid); });
    for (; it != instances_.end(); ++it) {
        const DeviceObject *object = findObject(it->name);
        if (object && object->readable())
            return &*it;
    }
    return nullptr;
}

bool SimulatedAccessPoint::isLive(const QString &name) const
{
    return name == QLatin1String("sysUpTime") || statisticsGroupOf(name).has_value();
}

snmp::Value SimulatedAccessPoint::liveValue(const QString &name) const
{
    if (name == QLatin1String("sysUpTime"))
        return snmp::Value::unsignedOf(snmp::ValueKind::TimeTicks, quint32(uptime_.elapsed() / 10));
    if (const auto group = statisticsGroupOf(name))
        return snmp::Value::octets(statisticsBytes(*group, uptime_.elapsed()));
    return values_.value(name);
}

void SimulatedAccessPoint::refreshCounters()
{
    for (const DeviceObject &object : deviceObjects()) {
        if (isLive(object.name) && !pinned_.contains(object.name))
            values_.insert(object.name, liveValue(object.name));
    }
}

snmp::Value SimulatedAccessPoint::value(const QString &name) const
{
    if (isLive(name) && !pinned_.contains(name))
        return liveValue(name);
    return values_.value(name);
}

void SimulatedAccessPoint::setValue(const QString &name, const snmp::Value &value)
{
    // No type check here: tests use this to make the device report what a
    // faulty one would.
    if (!findObject(name)) {
        qCWarning(lcSim) << "setValue: the device has no object" << name;
        return;
    }
    values_.insert(name, value);
    if (isLive(name))
        pinned_.insert(name);
}

QString SimulatedAccessPoint::oidOf(const QString &name) const
{
    return mib_.OidOf(name);
}

void SimulatedAccessPoint::restoreFactoryValues()
{
    // Test mode and its last command are states of the radio, not stored
    // settings.
    QHash<QString, snmp::Value> factory = factoryValues(enterprise_);
    for (const QString &name : {QStringLiteral("TestModeOnOff"), QStringLiteral("TestModeCommandStruct")}) {
        if (values_.contains(name))
            factory.insert(name, values_.value(name));
    }
    values_ = factory;
    pinned_.clear();
    refreshCounters();
    reportOwnAddress();
}

void SimulatedAccessPoint::reportOwnAddress()
{
    // A device on this machine says where it listens instead of the factory
    // address: the console moves to the device's operIPAddress after a
    // download, and that must never lead off the machine.
    bool isIpv4 = false;
    const quint32 ip = address_.toIPv4Address(&isIpv4);
    if (!socket_ || !isIpv4 || !address_.isLoopback())
        return;
    QByteArray bytes(4, '\0');
    qToBigEndian(ip, bytes.data());
    values_.insert(QStringLiteral("operIPAddress"), snmp::Value::ipAddress(bytes));
}

void SimulatedAccessPoint::reset()
{
    // A restart: the radio leaves test mode, the clock and the counters
    // start again, the stored settings stay.
    values_.insert(QStringLiteral("TestModeOnOff"), snmp::Value::integer(0));
    uptime_.restart();
    refreshCounters();
    qCInfo(lcSim) << "device reset";
    emit resetPerformed();
    if (eventTraps)
        sendTrap(8, {});

    if (!moveOnReset || !socket_)
        return;
    const snmp::Value stored = values_.value(QStringLiteral("operIPAddress"));
    if (stored.kind != snmp::ValueKind::IpAddress || stored.bytes.size() != 4)
        return;
    const QHostAddress target(qFromBigEndian<quint32>(stored.bytes.constData()));
    if (!target.isLoopback()) {
        qCInfo(lcSim) << "stays on" << address_.toString() << "- the stored address" << target.toString()
                      << "is not a loopback address";
        return;
    }
    if (target == address_)
        return;
    // After the answer to this request has left from the old address.
    QTimer::singleShot(qMax(0, faults.delayMs), this, [this, target] { moveTo(target); });
}

}  // namespace sim
