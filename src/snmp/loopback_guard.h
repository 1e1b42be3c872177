#pragma once
// The process-wide loopback-only guard, shared by every part that sends
// SNMP requests. While it is on (the demo, every test, every benchmark), a
// request to an address outside 127.0.0.0/8 is refused before a byte is
// sent. It starts on when the environment variable CORVANE_LOOPBACK_ONLY is
// set to anything but "0".

#include <QHostAddress>
#include <QString>

namespace snmp::loopback_guard {

void setOn(bool on);
bool isOn();

// Whether a request may go to `address` now: always while the guard is
// off, otherwise only to an IPv4 address in 127.0.0.0/8.
bool allows(const QHostAddress &address);

// The text a refused destination gets.
QString refusal(const QString &host);

}  // namespace snmp::loopback_guard
