#pragma once
// The manager component's view of a message: variables carry their values
// as text the way the console reads them (integers as decimal digits, IP
// addresses as dotted text, octet strings as their raw bytes).

#include "snmp_pdu.h"

#include <QByteArray>
#include <QString>
#include <QVector>

namespace snmp {

// Value type codes of a variable. The console sends 1, 2 and 4; received
// variables carry the code of whatever type the peer sent.
namespace value_type {
constexpr int Null = 0;
constexpr int Integer = 1;
constexpr int OctetString = 2;
constexpr int ObjectIdentifier = 3;
constexpr int IpAddress = 4;
constexpr int Counter = 5;
constexpr int Gauge = 6;
constexpr int TimeTicks = 7;
constexpr int Opaque = 8;
}  // namespace value_type

// Request type codes (the PDU tag's low six bits).
namespace request_type {
constexpr int Get = 32;
constexpr int GetNext = 33;
constexpr int Response = 34;
constexpr int Set = 35;
constexpr int Trap = 36;
}  // namespace request_type

class SnmpVariable {
public:
    QString Name;                      // dotted OID
    int ValueType = value_type::Null;  // see value_type
    QByteArray Value;                  // text form; raw bytes for octet strings

    // Wire form. Returns false (and leaves `out` alone) when Name is not an
    // OID or Value does not fit ValueType (for example "12x" as an integer).
    bool toVarBind(VarBind &out, QString *why = nullptr) const;
    static SnmpVariable fromVarBind(const VarBind &vb);
};

class SnmpVariables {
public:
    void Add(const SnmpVariable &variable) { items_.append(variable); }
    int Count() const { return int(items_.size()); }
    // 1-based, as the console numbers answer positions. Out of range gives
    // nullptr: a missing answer variable is a run-time failure of the caller.
    const SnmpVariable *Item(int index) const;
    void clear() { items_.clear(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    QVector<SnmpVariable> items_;
};

class SnmpMessage {
public:
    // Empties the variable list and makes the message a GET again; the
    // community stays.
    void Clear();

    QByteArray Community = "public";
    int RequestType = request_type::Get;
    qint32 RequestId = 0;
    SnmpVariables Variables;
    int ErrorStatus = 0;
    int ErrorIndex = 0;
    // Traps: the device's trap number (the specific-trap of an
    // enterprise-specific trap, otherwise the generic-trap number), plus the
    // raw fields for whoever needs them.
    qint32 TrapCode = 0;
    int GenericTrap = 0;
    int SpecificTrap = 0;
    QString Enterprise;
    QString AgentAddress;
    quint32 TimeStamp = 0;

    // Builds the wire message; false when a variable cannot be encoded.
    bool toWire(Message &out, QString *why = nullptr) const;
    static SnmpMessage fromWire(const Message &message);
};

}  // namespace snmp
