#include "fleet_setup.h"

#include "config/device_objects.h"
#include "snmp/mib.h"

#include <QDeadlineTimer>
#include <QFile>

#include <sys/resource.h>

namespace fleet {

QVector<Device> startFleet(QProcess &apsim, const QString &program, int count, int delayMs, QString &error)
{
    // Port 0: every device takes a free port, so the run never collides
    // with anything else on the machine.
    apsim.start(program, {QStringLiteral("--count"), QString::number(count), QStringLiteral("--address"),
                          QStringLiteral("127.0.1.1"), QStringLiteral("--port"), QStringLiteral("0"),
                          QStringLiteral("--delay-ms"), QString::number(delayMs)});
    QVector<Device> devices;
    const QDeadlineTimer deadline(20000);
    while (devices.size() < count) {
        if (!apsim.canReadLine() && !apsim.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))) {
            error = QStringLiteral("apsim reported %1 of %2 devices: %3")
                        .arg(devices.size())
                        .arg(count)
                        .arg(QString::fromLocal8Bit(apsim.readAllStandardError()).trimmed().right(400));
            return {};
        }
        while (apsim.canReadLine() && devices.size() < count) {
            const QByteArray line = apsim.readLine().trimmed();  // "listening on 127.0.1.7:40123"
            if (!line.startsWith("listening on "))
                continue;
            const QByteArray endpoint = line.mid(13);
            const qsizetype colon = endpoint.lastIndexOf(':');
            Device device{QHostAddress(QString::fromLatin1(endpoint.left(colon))),
                          quint16(endpoint.mid(colon + 1).toUInt())};
            if ((device.address.toIPv4Address() >> 24) != 127 || device.port == 0) {
                error = QStringLiteral("apsim reported an unexpected endpoint: %1").arg(QString::fromLatin1(line));
                return {};
            }
            devices.append(device);
        }
    }
    return devices;
}

QVector<QVector<snmp::Oid>> connectRequests(const QString &mibPath, QString &error)
{
    snmp::Mib mib;
    const snmp::Mib::LoadResult loaded = mib.Load(mibPath);
    if (!loaded.ok) {
        error = loaded.error;
        return {};
    }
    QVector<QStringList> names = {{QStringLiteral("sysDescr")}};
    for (config::Group group : config::fullReadOrder()) {
        QStringList objects;
        for (const config::DeviceObject *object : config::describe(group).readOrder)
            objects << object->name;
        names << objects;
    }
    QVector<QVector<snmp::Oid>> requests;
    for (const QStringList &request : std::as_const(names)) {
        QVector<snmp::Oid> oids;
        for (const QString &name : request) {
            snmp::Oid oid;
            if (!snmp::oidFromText(mib.OidOf(name) + QStringLiteral(".0"), oid)) {
                error = QStringLiteral("the MIB has no object %1").arg(name);
                return {};
            }
            oids << oid;
        }
        requests << oids;
    }
    return requests;
}

Memory memoryNow()
{
    Memory memory;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return memory;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const double mib = line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        if (line.startsWith("VmRSS:"))
            memory.residentMiB = mib;
        else if (line.startsWith("VmHWM:"))
            memory.peakMiB = mib;
    }
    return memory;
}

bool allowOpenFiles(int files)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return false;
    if (limit.rlim_cur >= rlim_t(files))
        return true;
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < rlim_t(files))
        return false;
    limit.rlim_cur = rlim_t(files);
    return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

}  // namespace fleet
