#pragma once
// How a misbehaving device spoils a value: the pure part of the fault
// layer, kept apart so each spoiling rule can be tested on its own.

#include "snmp/snmp_pdu.h"

namespace sim {

// A plausible but different value of the same type: integers and counters
// + 1, the first byte of an octet string changed (so a manager that
// compares only a prefix still notices), the last byte of an address + 1,
// one more arc on an object identifier.
snmp::Value wrongEchoOf(const snmp::Value &value);

// The value one byte or one digit short: octet strings lose their last
// byte, numbers their last decimal digit, object identifiers their last
// arc. An IP address cannot be shorter than four bytes on the wire, so it
// turns into its dotted text less the last character, as an octet string.
snmp::Value shortenedValue(const snmp::Value &value);

}  // namespace sim
