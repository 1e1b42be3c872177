// Linked into every test program that can send: whatever the code under
// test does (the old manager or the request engine, which share the
// guard), no request leaves this machine, also when a test program is run
// by hand outside CTest (which sets CORVANE_LOOPBACK_ONLY as well).

#include "snmp/loopback_guard.h"

namespace {
const bool guardOn = [] {
    snmp::loopback_guard::setOn(true);
    return true;
}();
}  // namespace
