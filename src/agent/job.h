#pragma once
// A piece of work with a device that ends with a typed result: a connect,
// a scan, a read, a download, a command. Each job starts once, sends its
// requests through the device and reports finished(result) as it ends,
// never from inside start(); it never waits, so a program may run jobs
// with hundreds of devices at once. The caller owns the job; a handler of
// finished() deletes it with deleteLater().

#include "agent/device.h"
#include "config/device_objects.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

namespace agent {

struct JobResult {
    enum Error {
        NoError,
        // The device answered, but not as asked.
        Refused,    // an error status (errorStatus, errorIndex)
        Rejected,   // a value read breaks the device's rules (object)
        Malformed,  // another answer than asked: other objects, a value missing or not convertible (object)
        WrongEcho,  // a SET's echo differs from what was sent: the device did not take it (object)
        // Nothing usable came back.
        Timeout,     // no answer after every try
        NotAllowed,  // the loopback-only guard refused the destination
        SocketError, // nothing could be sent
        NotSendable, // the request could not be built: an object the MIB lacks, no address
        // Refused before anything was sent.
        NotRead,       // a group not read from the device since the connect (group)
        InvalidValue,  // a value the device would refuse (object)
        Aborted,
    };

    Error error = NoError;
    std::optional<config::Group> group;            // the group the work was at
    const config::DeviceObject *object = nullptr;  // the object at fault
    int errorStatus = 0;                           // Refused
    int errorIndex = 0;
    QString detail;  // the engine's or the guard's own words

    bool ok() const { return error == NoError; }
    static JobResult failed(Error error, std::optional<config::Group> group = std::nullopt,
                            const config::DeviceObject *object = nullptr);
    // A finished reply's error in these terms.
    static JobResult of(const snmp::Reply &reply);
};

class Job : public QObject {
    Q_OBJECT
public:
    explicit Job(Device &device, QObject *parent = nullptr);
    ~Job() override;

    Device &device() const { return device_; }

    void start();
    // Ends the job at once with Aborted: nothing more is sent, and the
    // answers still on their way are dropped.
    void abort();
    bool isRunning() const { return started_ && !finished_; }
    bool isFinished() const { return finished_; }
    const JobResult &result() const { return result_; }

signals:
    void finished(const agent::JobResult &result);

protected:
    virtual void run() = 0;
    // Ends the job with `result` (once; later calls do nothing).
    void finish(const JobResult &result);
    // Sends a request to the device; `then` gets the reply once it is
    // finished, unless the job has ended meanwhile.
    void exchange(snmp::Reply *reply, std::function<void(const snmp::Reply &)> then);
    // A request of the described objects: their instances with `values`
    // (GET: none). std::nullopt when the MIB lacks one of them.
    std::optional<QVector<snmp::VarBind>> bindingsOf(const QVector<const config::DeviceObject *> &objects,
                                                     const QVector<snmp::Value> &values = {}) const;

private:
    Device &device_;
    bool started_ = false;
    bool starting_ = false;
    bool finished_ = false;
    JobResult result_;
    QList<QPointer<snmp::Reply>> outstanding_;
};

}  // namespace agent

Q_DECLARE_METATYPE(agent::JobResult)
