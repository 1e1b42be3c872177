#pragma once
// What every command works with: the console, one request engine for all
// devices, the device's MIB, the common options.

#include "command_line.h"
#include "console.h"

namespace snmp {
class Mib;
class RequestEngine;
}  // namespace snmp

namespace ctl {

struct Context {
    Console &console;
    snmp::RequestEngine &engine;
    const snmp::Mib &mib;
    CommonOptions options;
};

}  // namespace ctl
