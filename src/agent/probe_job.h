#pragma once
// Finding a device: a GET of sysDescr.0, probed again on a watchdog.
//
// A connect asks the device's own address and takes only its answer; a
// scan asks an address where any device may answer (a broadcast) and takes
// every one that does. Up to six probes go out, one per watchdog interval;
// an answer to any of them counts until the last interval has passed, and
// an answer with an error status counts as none. A connect ends with the
// first answer; a scan sends no more probes once a device has answered and
// ends when that interval has passed, with every device that answered.
// A probe that cannot be sent (the guard, no address) ends the probing;
// the job still ends with the watchdog, as a connect that found nothing.

#include "agent/job.h"

#include <QHostAddress>
#include <QTimer>
#include <QVector>

namespace agent {

class ProbeJob : public Job {
    Q_OBJECT
public:
    static constexpr int kProbes = 6;
    static constexpr int kConnectWatchdogMs = 1200;
    static constexpr int kScanWatchdogMs = 1500;

    // A connect to `address`, a scan of `address`; both with the device's
    // port, community and request ids.
    static ProbeJob *connectTo(Device &device, const QString &address, QObject *parent = nullptr);
    static ProbeJob *scan(Device &device, const QString &address, QObject *parent = nullptr);

    struct Responder {
        QHostAddress address;
        QString description;  // sysDescr as single-byte text
    };
    // Probes sent at most (kProbes unless set before start()): a script
    // that gives its own number of tries.
    void setProbes(int probes) { probes_ = qMax(1, probes); }

    // In the order they answered; a connect has at most one.
    const QVector<Responder> &responders() const { return responders_; }

signals:
    void probeSent(int attempt);  // 0 for the first
    void responderFound(const agent::ProbeJob::Responder &responder);

protected:
    void run() override;

private:
    ProbeJob(Device &device, const QString &address, bool scanning, QObject *parent);
    void tick();
    void sendProbe();
    void take(const snmp::Reply &reply);
    void found(const snmp::Reply::Answer &answer);

    QString address_;
    bool scanning_;
    QTimer watchdog_;
    int probes_ = kProbes;
    int sent_ = 0;
    bool stopped_ = false;  // no more probes
    JobResult lastProblem_;
    QVector<Responder> responders_;
};

}  // namespace agent

Q_DECLARE_METATYPE(agent::ProbeJob::Responder)
