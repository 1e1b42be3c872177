#pragma once
// Every device that answers, found for a list: the probe goes to the scan
// address (a broadcast, where every device answers at once) or to each
// address of a range on its own, a bounded number at once. Each device
// that answers is read for what a list shows (its Ethernet address, ESSID
// and channel) and reported as soon as that is in, so a window fills as
// the answers come. Nothing is changed on any device.

#include "agent/probe_job.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QVector>

namespace agent {

struct FoundDevice {
    QHostAddress address;
    QString firmware;  // as the windows show it ("Corvane" and the version)
    QString ethernetAddress;
    QString essid;
    int channel = 0;
    QString problem;  // the device answered, but reading it failed: why (the other fields empty)
};

class DeviceFinder : public QObject {
    Q_OBJECT
public:
    // At most this many addresses of a range are probed at once.
    static constexpr int kConcurrency = 64;
    // Probes per address of a range: a device on the network answers the
    // first; a lost datagram gets a second chance without making a large
    // range take minutes.
    static constexpr int kRangeProbes = 2;

    // Requests go through `engine` to `port` with `community`, at `timeScale`
    // of the device's pace (see Device).
    DeviceFinder(snmp::RequestEngine &engine, const snmp::Mib &mib, quint16 port, const QByteArray &community,
                 double timeScale = 1.0, QObject *parent = nullptr);
    ~DeviceFinder() override;

    // One search at a time; a new one stops the previous.
    void scan(const QString &scanAddress);
    void probe(const QVector<QHostAddress> &addresses);
    // Ends the search now: nothing more is sent, answers on their way are dropped.
    void stop();
    bool isRunning() const { return running_; }

signals:
    void found(const agent::FoundDevice &device);
    // Addresses of a range whose probing has ended, of all of them.
    void progress(int done, int total);
    // The search ended, by itself or by stop().
    void finished(bool stopped);

private:
    Device *newDevice(const QHostAddress &address);
    void probeNext();
    void describe(Device *device, const QString &description);
    void endIfDone();
    void releaseDevices();

    snmp::RequestEngine &engine_;
    const snmp::Mib &mib_;
    quint16 port_;
    QByteArray community_;
    double timeScale_;

    bool running_ = false;
    QVector<QHostAddress> pending_;  // a range's addresses not probed yet
    int total_ = 0;
    int done_ = 0;
    QList<QPointer<Job>> jobs_;  // probes and reads under way
    QList<Device *> devices_;
    QSet<quint32> described_;  // a scan's responders so far
};

}  // namespace agent

Q_DECLARE_METATYPE(agent::FoundDevice)
