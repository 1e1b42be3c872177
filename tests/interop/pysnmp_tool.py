#!/usr/bin/env python3
"""pysnmp, an SNMP implementation independent of ours, for interop tests.

  pysnmp_tool.py HEX    decodes one SNMPv1 message and prints its fields as JSON:
  {"version": 0, "community": "kavrel", "pdu": "get"|"getnext"|"response"|"set"|"trap",
   "request_id": n, "error_status": n, "error_index": n               (all but traps)
   "enterprise": "1.3...", "agent_address": "127.0.0.1", "generic_trap": n,
   "specific_trap": n, "time_stamp": n,                               (traps)
   "bindings": [["1.3.6...", TYPE, VALUE], ...]}
TYPE is one of null, integer, octets (VALUE as hex), oid, ipaddress, counter,
gauge, timeticks, opaque (VALUE as hex). Bytes after the message are an error.
"""
import json
import sys

from pyasn1.codec.ber import decoder
from pysnmp.proto import api

V1 = api.protoModules[api.protoVersion1]

PDU_NAMES = {
    V1.GetRequestPDU.tagSet: "get",
    V1.GetNextRequestPDU.tagSet: "getnext",
    V1.GetResponsePDU.tagSet: "response",
    V1.SetRequestPDU.tagSet: "set",
    V1.TrapPDU.tagSet: "trap",
}


def oid_text(oid):
    return ".".join(str(arc) for arc in oid)


def address_text(value):
    return ".".join(str(b) for b in value.asOctets())


def describe_value(value):
    kinds = [
        (V1.Integer, "integer", int),
        (V1.IpAddress, "ipaddress", address_text),
        (V1.Counter, "counter", int),
        (V1.Gauge, "gauge", int),
        (V1.TimeTicks, "timeticks", int),
        (V1.Opaque, "opaque", lambda v: v.asOctets().hex()),
        (V1.OctetString, "octets", lambda v: v.asOctets().hex()),
        (V1.ObjectIdentifier, "oid", oid_text),
        (V1.Null, "null", lambda v: None),
    ]
    for cls, name, convert in kinds:
        if value.tagSet == cls.tagSet:
            return [name, convert(value)]
    return ["unknown", str(value)]


def decode(hex_text):
    message, rest = decoder.decode(bytes.fromhex(hex_text), asn1Spec=V1.Message())
    if rest:
        raise ValueError("%d bytes after the message" % len(rest))
    pdu = V1.apiMessage.getPDU(message)
    out = {
        "version": int(message["version"]),
        "community": V1.apiMessage.getCommunity(message).asOctets().decode("latin-1"),
        "pdu": PDU_NAMES.get(pdu.tagSet, "unknown"),
    }
    if out["pdu"] == "trap":
        api_pdu = V1.apiTrapPDU
        out["enterprise"] = oid_text(api_pdu.getEnterprise(pdu))
        out["agent_address"] = address_text(api_pdu.getAgentAddr(pdu))
        out["generic_trap"] = int(api_pdu.getGenericTrap(pdu))
        out["specific_trap"] = int(api_pdu.getSpecificTrap(pdu))
        out["time_stamp"] = int(api_pdu.getTimeStamp(pdu))
    else:
        api_pdu = V1.apiPDU
        out["request_id"] = int(api_pdu.getRequestID(pdu))
        out["error_status"] = int(api_pdu.getErrorStatus(pdu))
        out["error_index"] = int(api_pdu.getErrorIndex(pdu))
    out["bindings"] = [[oid_text(oid)] + describe_value(value) for oid, value in api_pdu.getVarBinds(pdu)]
    return out


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.stderr.write(__doc__)
        sys.exit(2)
    print(json.dumps(decode(sys.argv[1])))
