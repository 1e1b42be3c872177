// Every trap a peer sends, whatever its bindings hold, becomes a log entry:
// decoded as the trap instance decodes it, then written out as the trap log
// writes it. The entry must be whole lines ended by CR LF, one byte per
// character, and start with the line that names the sender.

#include "snmp/snmp_message.h"
#include "traps/trap_entry.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fault(const char *what)
{
    std::fprintf(stderr, "trap entry fault: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const snmp::DecodeResult decoded =
        snmp::decodeMessage(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!decoded.ok() || decoded.message->pdu.type != snmp::PduType::Trap)
        return 0;
    const snmp::SnmpMessage message = snmp::SnmpMessage::fromWire(*decoded.message);
    traps::ReceivedTrap trap;
    trap.timeText = QStringLiteral("10:15:32");
    trap.sender = QStringLiteral("127.0.0.1");
    trap.genericTrap = message.GenericTrap;
    trap.code = message.TrapCode;
    for (const snmp::SnmpVariable &variable : message.Variables)
        trap.values.append(variable.Value);
    // Once with a device text of several lines, once as a code the MIB lacks.
    const QByteArray mibText = traps::entryTextOf(QStringLiteral("Station associated\nwith the access point"));
    for (const QByteArray *text : {&mibText, static_cast<const QByteArray *>(nullptr)}) {
        const QByteArray entry = traps::trapLogEntry(trap, text);
        if (!entry.startsWith("Trap received @ 10:15:32 from host 127.0.0.1\r\n"))
            fault("first line");
        if (!entry.endsWith("\r\n"))
            fault("unended line");
        for (qsizetype i = 0; i < entry.size(); ++i) {
            if (entry[i] == '\n' && (i == 0 || entry[i - 1] != '\r'))
                fault("bare line feed");
        }
    }
    return 0;
}
