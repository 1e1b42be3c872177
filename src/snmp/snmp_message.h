#pragma once
// A received message as the console reads it: variables carry their
// values as text (integers as decimal digits, IP addresses as dotted text,
// octet strings as their raw bytes), and a trap its code.

#include "snmp_pdu.h"

#include <QByteArray>
#include <QString>
#include <QVector>

namespace snmp {

// Value type codes of a variable: the code of whatever type the peer sent.
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

// A value as text, the way the console reads it.
QByteArray valueText(const Value &value);

class SnmpVariable {
public:
    QString Name;                      // dotted OID
    int ValueType = value_type::Null;  // see value_type
    QByteArray Value;                  // text form; raw bytes for octet strings

    static SnmpVariable fromVarBind(const VarBind &vb);
};

class SnmpVariables {
public:
    void Add(const SnmpVariable &variable) { items_.append(variable); }
    int Count() const { return int(items_.size()); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    QVector<SnmpVariable> items_;
};

class SnmpMessage {
public:
    QByteArray Community;
    SnmpVariables Variables;
    // Traps: the device's trap number (the specific-trap of an
    // enterprise-specific trap, otherwise the generic-trap number), plus the
    // raw fields for whoever needs them.
    qint32 TrapCode = 0;
    int GenericTrap = 0;
    int SpecificTrap = 0;
    QString Enterprise;
    QString AgentAddress;
    quint32 TimeStamp = 0;

    static SnmpMessage fromWire(const Message &message);
};

}  // namespace snmp
