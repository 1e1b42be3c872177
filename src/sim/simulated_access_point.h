#pragma once
// A simulated access point: an SNMPv1 agent that holds every object of the
// device's MIB with the device's byte layouts, so the console (and any other
// SNMP tool) has a real UDP peer. The request handler has no network code
// (handleRequest), so tests can call it directly; start() puts it on a
// loopback UDP port. Fault injection covers what a flaky network or a
// misbehaving device does.
//
// Agent rules worth knowing when writing tests against it:
// - Objects are scalars; only the instance ".0" of an object exists.
// - GET of an unknown or write-only object, and SET of an unknown or
//   read-only object, answer noSuchName(2) with the 1-based position in
//   errorIndex and the request's bindings unchanged (the SNMPv1 rule for
//   objects outside the view). readOnly(4) is never sent.
// - SET checks every binding before applying any: a value of another type
//   than the object's, an octet string of the wrong size, or a command
//   object (sysReset, sysLoadDefaults, TestModeOnOff) set to anything but 1
//   answers badValue(3); TestModeCommandStruct outside test mode answers
//   genErr(5). Integer ranges and enumerations are not checked: the device
//   stores what it is given, so a console's read-back checks can be driven
//   over the wire.
// - A request is handled as a whole or not at all.

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
    double dropRatio = 0.0;       // share of requests ignored, 0..1 (recorded, not acted on)
    int delayMs = 0;              // every answer sent this much later
    QSet<QString> silentObjects;  // a request naming one of these gets no answer and is not acted on
    QSet<QString> wrongEchoObjects;   // SET answers echo a different value for these
    QSet<QString> shortValueObjects;  // GET answers carry a value one byte / digit short
    QHash<QString, snmp::Value> badValues;  // every answer naming the object carries this value
                                            // instead (a SET still stores what was sent)
    int errorStatus = 0;          // non-zero: every answer carries it (index 1); nothing is applied
    // A request naming one of these objects is refused with the given error
    // status at the object's position, its bindings echoed, nothing applied:
    // how a real device turns down a value (or an object) it does not take.
    QHash<QString, int> refusedObjects;
    QSet<QString> misnamedObjects;  // answers name the instance .1 of these objects instead of .0
    QHash<QString, int> slowObjects;  // answers naming one of these leave this many ms later
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

    // Off: start() refuses addresses outside 127.0.0.0/8 and ::1, and no
    // answer or trap leaves for such an address.
    bool allowNonLoopback = false;

    // Answers one request datagram. std::nullopt: no answer (undecodable,
    // wrong community, not a request). Faults that need time (drop, delay,
    // duplicates) are applied by the network path, not here; value faults
    // (wrong echo, short or bad value, error status, wrong id) are.
    // `answered` is emitted for every answer produced here.
    std::optional<QByteArray> handleRequest(const QByteArray &datagram);

    // Datagrams that were no request for this agent: undecodable, another
    // PDU type, or another community.
    int ignoredDatagrams() const { return ignored_; }

    // The device's objects by MIB name (scalar instance ".0" implied).
    snmp::Value value(const QString &name) const;
    // Statistics and sysUpTime follow the clock until setValue() pins them;
    // restoreFactoryValues() lets them run again.
    void setValue(const QString &name, const snmp::Value &value);
    QString oidOf(const QString &name) const;  // dotted, without ".0"
    const snmp::Mib &mib() const { return mib_; }

    // What sysLoadDefaults does. The factory address 192.168.1.250 stays in
    // the factory table, but a device started on a loopback address reports
    // that address as its operIPAddress, after start() and after a restore.
    void restoreFactoryValues();
    // What sysReset does: applies the stored settings. When moveOnReset is
    // set and operIPAddress is a loopback address other than the current
    // one, the agent rebinds there (same port) once the answer to the
    // request that reset it has left; later copies (late duplicates) leave
    // from the new address.
    void reset();
    bool moveOnReset = false;

    Faults faults;

    // Every decoded request in arrival order (also those left unanswered);
    // the newest kMaxRecordedRequests are kept.
    static constexpr int kMaxRecordedRequests = 4096;
    QVector<snmp::Message> receivedRequests() const { return received_; }
    void clearReceivedRequests() { received_.clear(); }

    // Traps go to this destination (none until set); sysTrapSwitch = 2
    // suppresses them. Returns false when no trap was sent.
    void setTrapDestination(const QHostAddress &address, quint16 port);
    bool sendTrap(int specificCode, const QVector<snmp::VarBind> &bindings);
    // A station trap (codes 1 to 5) naming `stationMac` (6 bytes) in
    // trapStationAddress, which then holds that address.
    bool sendStationTrap(int specificCode, const QByteArray &stationMac);

    // On: the device reports its own events as traps, as the real one does:
    // deviceReset after sysReset, factoryDefaultsRestored after
    // sysLoadDefaults, ipAddressChanged when a SET changes operIPAddress and
    // configurationChanged when a SET changes another setting. Off by
    // default, so that tests receive only the traps they send.
    bool eventTraps = false;

    // Makes the drop decisions repeatable.
    void seedRandom(quint32 seed) { random_.seed(seed); }

signals:
    void requestReceived(const snmp::Message &request);
    void answered(const QByteArray &answer);
    void resetPerformed();
    void moved(const QHostAddress &newAddress);

private:
    struct Instance {
        snmp::Oid oid;  // the object's OID followed by 0
        QString name;
    };

    void readPendingDatagrams();
    void sendLater(const QByteArray &answer, const QHostAddress &to, quint16 port, int delayMs);
    snmp::Message answerFor(const snmp::Message &request);
    void refreshCounters();
    void reportOwnAddress();

    // Request handling (request_handler.cpp).
    std::optional<snmp::Message> acceptRequest(const QByteArray &datagram);
    std::optional<QByteArray> answerAccepted(const snmp::Message &request);
    snmp::Message answerGet(const snmp::Message &request, bool next);
    snmp::Message answerSet(const snmp::Message &request);
    void applyAnswerFaults(const snmp::Message &request, snmp::Message &answer) const;
    void reportChanges(const QSet<QString> &changed);
    bool namesSilentObject(const snmp::Message &request) const;
    int extraDelayFor(const snmp::Message &request) const;

    // Object table access.
    void loadMib();
    void buildInstances();
    QString nameOfInstance(const snmp::Oid &oid) const;
    const Instance *nextInstanceAfter(const snmp::Oid &oid) const;
    snmp::Value liveValue(const QString &name) const;
    bool isLive(const QString &name) const;

    // Network (udp_transport.cpp).
    bool mayReach(const QHostAddress &address) const;
    bool sendDatagram(const QByteArray &bytes, const QHostAddress &to, quint16 port);
    void moveTo(const QHostAddress &newAddress);

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

    snmp::Oid enterprise_;         // the device's enterprise, traps and sysObjectID
    QVector<Instance> instances_;  // sorted by OID, for GET and GETNEXT
    QSet<QString> pinned_;         // live objects that setValue() fixed
    int ignored_ = 0;
};

}  // namespace sim
