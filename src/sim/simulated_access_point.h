#pragma once
// A simulated access point: an SNMPv1 agent that holds every object of the
// device's MIB with the device's byte layouts, so the console (and any other
// SNMP tool) has a real UDP peer. The request handler has no network code
// (handleRequest), so tests can call it directly; start() puts it on a
// loopback UDP port. Fault injection covers what a flaky network or a
// misbehaving device does.

#include "snmp/mib.h"
#include "snmp/snmp_pdu.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QRandomGenerator>
#include <QSet>
#include <QVector>
#include <optional>

class QUdpSocket;

namespace sim {

struct Faults {
    double dropRatio = 0.0;       // share of requests ignored, 0..1
    int delayMs = 0;              // every answer sent this much later
    QSet<QString> silentObjects;  // a request naming one of these gets no answer
    QSet<QString> wrongEchoObjects;   // SET answers echo a different value for these
    QSet<QString> shortValueObjects;  // GET answers carry a value one byte / digit short
    QHash<QString, snmp::Value> badValues;  // GET answers carry this value instead
    int errorStatus = 0;          // non-zero: every answer carries it (index 1)
    int duplicateAnswers = 0;     // extra copies of every answer, sent right after it
    int lateDuplicateMs = 0;      // >0: one more copy of every answer, this much later
    bool wrongRequestId = false;  // answers carry request id + 1000
    bool silent = false;          // no answers at all
};

class SimulatedAccessPoint : public QObject {
    Q_OBJECT
public:
    explicit SimulatedAccessPoint(QObject *parent = nullptr);
    ~SimulatedAccessPoint() override;

    // Binds UDP `address`:`port` (port 0: a free port). Returns false and
    // fills `error` when the socket cannot be bound.
    bool start(const QHostAddress &address, quint16 port, QString *error = nullptr);
    void stop();
    QHostAddress address() const { return address_; }
    quint16 port() const { return port_; }

    // The read/write community; requests with another one get no answer.
    QByteArray community = "kavrel";

    // Answers one request datagram. std::nullopt: no answer (undecodable,
    // wrong community, not a request). Faults that need time (drop, delay,
    // duplicates) are applied by the network path, not here; value faults
    // (wrong echo, short or bad value, error status, wrong id) are.
    std::optional<QByteArray> handleRequest(const QByteArray &datagram);

    // The device's objects by MIB name (scalar instance ".0" implied).
    snmp::Value value(const QString &name) const;
    void setValue(const QString &name, const snmp::Value &value);
    QString oidOf(const QString &name) const;  // dotted, without ".0"
    const snmp::Mib &mib() const { return mib_; }

    void restoreFactoryValues();  // what sysLoadDefaults does
    // What sysReset does: applies the stored settings. When moveOnReset is
    // set and operIPAddress is a loopback address other than the current
    // one, the agent rebinds there (same port).
    void reset();
    bool moveOnReset = false;

    Faults faults;

    // Every decoded request in arrival order (also those left unanswered).
    QVector<snmp::Message> receivedRequests() const { return received_; }
    void clearReceivedRequests() { received_.clear(); }

    // Traps go to this destination (none until set); sysTrapSwitch = 2
    // suppresses them. Returns false when no trap was sent.
    void setTrapDestination(const QHostAddress &address, quint16 port);
    bool sendTrap(int specificCode, const QVector<snmp::VarBind> &bindings);

signals:
    void requestReceived(const snmp::Message &request);
    void answered(const QByteArray &answer);
    void resetPerformed();
    void moved(const QHostAddress &newAddress);

private:
    void readPendingDatagrams();
    void sendLater(const QByteArray &answer, const QHostAddress &to, quint16 port, int delayMs);
    snmp::Message answerFor(const snmp::Message &request);
    void refreshCounters();

    snmp::Mib mib_;
    QUdpSocket *socket_ = nullptr;
    QHostAddress address_;
    quint16 port_ = 0;
    QHash<QString, snmp::Value> values_;  // keyed by object name
    QVector<snmp::Message> received_;
    QHostAddress trapAddress_;
    quint16 trapPort_ = 0;
    QElapsedTimer uptime_;
    QRandomGenerator random_;
};

}  // namespace sim
