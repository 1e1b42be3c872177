// Linked into every test program that can send: whatever the code under
// test does, no request leaves this machine, also when a test program is
// run by hand outside CTest (which sets CORVANE_LOOPBACK_ONLY as well).

#include "snmp/snmp_manager.h"

namespace {
const bool guardOn = [] {
    snmp::SnmpManager::setLoopbackOnly(true);
    return true;
}();
}  // namespace
