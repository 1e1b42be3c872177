#include "device_finder.h"

#include "agent/read_job.h"
#include "config/settings_file.h"

namespace agent {

DeviceFinder::DeviceFinder(snmp::RequestEngine &engine, const snmp::Mib &mib, quint16 port,
                           const QByteArray &community, double timeScale, QObject *parent)
    : QObject(parent), engine_(engine), mib_(mib), port_(port), community_(community), timeScale_(timeScale)
{
}

DeviceFinder::~DeviceFinder()
{
    // Jobs first (those still to be deleted later too): they hold on to their devices.
    qDeleteAll(findChildren<Job *>(QString(), Qt::FindDirectChildrenOnly));
    qDeleteAll(devices_);
}

Device *DeviceFinder::newDevice(const QHostAddress &address)
{
    auto *device = new Device(engine_, mib_);
    device->setAddress(address.toString());
    device->setPort(port_);
    device->setCommunity(community_);
    device->setTimeScale(timeScale_);
    devices_.append(device);
    return device;
}

void DeviceFinder::scan(const QString &scanAddress)
{
    stop();
    releaseDevices();
    described_.clear();
    running_ = true;
    total_ = done_ = 0;
    Device *prober = newDevice(QHostAddress());
    auto *job = ProbeJob::scan(*prober, scanAddress, this);
    jobs_.append(job);
    connect(job, &ProbeJob::responderFound, this, [this](const ProbeJob::Responder &responder) {
        // A device answers each probe it hears: it is listed once.
        if (!described_.contains(responder.address.toIPv4Address())) {
            described_.insert(responder.address.toIPv4Address());
            describe(newDevice(responder.address), responder.description);
        }
    });
    connect(job, &Job::finished, this, [this, job] {
        jobs_.removeAll(job);
        job->deleteLater();
        endIfDone();
    });
    job->start();
}

void DeviceFinder::probe(const QVector<QHostAddress> &addresses)
{
    stop();
    releaseDevices();
    running_ = true;
    pending_ = addresses;
    total_ = int(addresses.size());
    done_ = 0;
    emit progress(0, total_);
    for (int i = 0; i < kConcurrency && !pending_.isEmpty(); ++i)
        probeNext();
    endIfDone();
}

void DeviceFinder::probeNext()
{
    const QHostAddress address = pending_.takeFirst();
    Device *device = newDevice(address);
    auto *job = ProbeJob::connectTo(*device, address.toString(), this);
    job->setProbes(kRangeProbes);
    jobs_.append(job);
    connect(job, &Job::finished, this, [this, job, device] {
        jobs_.removeAll(job);
        job->deleteLater();
        if (!job->responders().isEmpty())
            describe(device, job->responders().constFirst().description);
        emit progress(++done_, total_);
        if (running_ && !pending_.isEmpty())
            probeNext();
        endIfDone();
    });
    job->start();
}

void DeviceFinder::describe(Device *device, const QString &description)
{
    auto *read = new ReadJob(*device, {config::Group::WirelessOperational, config::Group::IPSettings}, ReadJob::kTries,
                             this);
    jobs_.append(read);
    connect(read, &Job::finished, this, [this, read, device, description](const JobResult &result) {
        jobs_.removeAll(read);
        read->deleteLater();
        FoundDevice found;
        found.address = QHostAddress(device->address());
        found.firmware = config::firmwareText(description);
        if (result.ok()) {
            const config::ConfigurationStore &store = device->store();
            found.ethernetAddress = store.operEthernetAddress;
            found.essid = store.operESSID;
            found.channel = store.operChannelID;
        } else {
            found.problem = result.detail.isEmpty() ? QStringLiteral("its settings could not be read")
                                                    : result.detail;
        }
        emit this->found(found);
        endIfDone();
    });
    read->start();
}

void DeviceFinder::stop()
{
    const bool wasRunning = running_;
    running_ = false;
    pending_.clear();
    const QList<QPointer<Job>> jobs = jobs_;
    jobs_.clear();
    for (const QPointer<Job> &job : jobs) {
        if (job) {
            job->disconnect(this);
            job->abort();
            job->deleteLater();
        }
    }
    if (wasRunning)
        emit finished(true);
}

void DeviceFinder::releaseDevices()
{
    // After the jobs that used them, which stop() has ended and let go.
    for (Device *device : std::as_const(devices_))
        device->deleteLater();
    devices_.clear();
}

void DeviceFinder::endIfDone()
{
    if (running_ && jobs_.isEmpty() && pending_.isEmpty()) {
        running_ = false;
        emit finished(false);
    }
}

}  // namespace agent
