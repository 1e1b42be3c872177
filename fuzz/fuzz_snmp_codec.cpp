// Any datagram a peer sends goes through the SNMPv1 decoder. Whatever it
// accepts must survive encode and decode unchanged, re-encode to the same
// bytes, and read through the console's text view of a received message.

#include "snmp/snmp_message.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace snmp;

namespace {

bool sameMessage(const Message &a, const Message &b)
{
    const Pdu &p = a.pdu;
    const Pdu &q = b.pdu;
    return a.version == b.version && a.community == b.community && p.type == q.type
           && p.requestId == q.requestId && p.errorStatus == q.errorStatus && p.errorIndex == q.errorIndex
           && p.enterprise == q.enterprise && p.agentAddress == q.agentAddress
           && p.genericTrap == q.genericTrap && p.specificTrap == q.specificTrap
           && p.timeStamp == q.timeStamp && p.varBinds == q.varBinds;
}

[[noreturn]] void fault(const char *what)
{
    std::fprintf(stderr, "snmp codec fault: %s\n", what);
    std::abort();
}

void checkTextView(const Message &message)
{
    const SnmpMessage view = SnmpMessage::fromWire(message);
    if (view.Variables.Count() != message.pdu.varBinds.size())
        fault("text view lost variables");
    if (message.pdu.type == PduType::Trap) {
        const qint32 expected = message.pdu.genericTrap == 6 ? message.pdu.specificTrap : message.pdu.genericTrap;
        if (view.TrapCode != expected)
            fault("wrong trap code");
        return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const DecodeResult first = decodeMessage(input);
    if (!first.ok()) {
        if (first.error == BerError::None)
            fault("refused without an error");
        return 0;
    }

    const QByteArray encoded = encodeMessage(*first.message);
    const DecodeResult second = decodeMessage(encoded);
    if (!second.ok())
        fault(berErrorText(second.error));
    if (!sameMessage(*first.message, *second.message))
        fault("decode(encode(m)) differs from m");
    if (encodeMessage(*second.message) != encoded)
        fault("encoding is not stable");

    checkTextView(*first.message);
    return 0;
}
