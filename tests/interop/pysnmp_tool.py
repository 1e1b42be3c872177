#!/usr/bin/env python3
"""pysnmp, an SNMP implementation independent of ours, for interop tests.

  pysnmp_tool.py decode HEX     prints the message's fields as JSON
  pysnmp_tool.py encode JSON    prints the message's BER bytes as hex
  pysnmp_tool.py get PORT COMMUNITY OID...
  pysnmp_tool.py set PORT COMMUNITY OID TYPE VALUE [OID TYPE VALUE]...
      SNMPv1 requests to 127.0.0.1:PORT through pysnmp's manager; print JSON
      {"error": text or null, "error_status": n, "error_index": n,
       "bindings": [[oid, TYPE, VALUE], ...]}

JSON form: {"community": "kavrel", "pdu": "get"|"getnext"|"response"|"set"|"trap",
 "request_id": 1, "error_status": 0, "error_index": 0,
 "enterprise": "1.3...", "agent_address": "127.0.0.1", "generic_trap": 6,
 "specific_trap": 1, "time_stamp": 0,
 "bindings": [["1.3.6...", TYPE, VALUE], ...]}
TYPE is one of null, integer, octets (VALUE as hex), oid, ipaddress, counter,
gauge, timeticks, opaque (VALUE as hex).
"""
import json
import sys

from pyasn1.codec.ber import decoder, encoder
from pysnmp.proto import api

V1 = api.protoModules[api.protoVersion1]

PDU_NAMES = {
    V1.GetRequestPDU.tagSet: "get",
    V1.GetNextRequestPDU.tagSet: "getnext",
    V1.GetResponsePDU.tagSet: "response",
    V1.SetRequestPDU.tagSet: "set",
    V1.TrapPDU.tagSet: "trap",
}
PDU_CLASSES = {
    "get": V1.GetRequestPDU,
    "getnext": V1.GetNextRequestPDU,
    "response": V1.GetResponsePDU,
    "set": V1.SetRequestPDU,
    "trap": V1.TrapPDU,
}


def oid_text(oid):
    return ".".join(str(arc) for arc in oid)


def describe_value(value):
    tags = [
        (V1.Integer, "integer", int),
        (V1.IpAddress, "ipaddress", lambda v: ".".join(str(b) for b in v.asOctets())),
        (V1.Counter, "counter", int),
        (V1.Gauge, "gauge", int),
        (V1.TimeTicks, "timeticks", int),
        (V1.Opaque, "opaque", lambda v: v.asOctets().hex()),
        (V1.OctetString, "octets", lambda v: v.asOctets().hex()),
        (V1.ObjectIdentifier, "oid", oid_text),
        (V1.Null, "null", lambda v: None),
    ]
    for cls, name, convert in tags:
        if value.tagSet == cls.tagSet:
            return [name, convert(value)]
    return ["unknown", str(value)]


def make_value(kind, value):
    if kind == "null":
        return V1.Null("")
    if kind == "integer":
        return V1.Integer(value)
    if kind == "octets":
        return V1.OctetString(hexValue=value)
    if kind == "oid":
        return V1.ObjectIdentifier(value)
    if kind == "ipaddress":
        return V1.IpAddress(value)
    if kind == "counter":
        return V1.Counter(value)
    if kind == "gauge":
        return V1.Gauge(value)
    if kind == "timeticks":
        return V1.TimeTicks(value)
    if kind == "opaque":
        return V1.Opaque(hexValue=value)
    raise ValueError("unknown value type " + kind)


def decode(hex_text):
    message, rest = decoder.decode(bytes.fromhex(hex_text), asn1Spec=V1.Message())
    pdu = V1.apiMessage.getPDU(message)
    out = {
        "version": int(message["version"]),
        "community": V1.apiMessage.getCommunity(message).asOctets().decode("latin-1"),
        "pdu": PDU_NAMES.get(pdu.tagSet, "unknown"),
        "trailing": len(rest),
    }
    if out["pdu"] == "trap":
        api_pdu = V1.apiTrapPDU
        out["enterprise"] = oid_text(api_pdu.getEnterprise(pdu))
        out["agent_address"] = ".".join(str(b) for b in api_pdu.getAgentAddr(pdu).asOctets())
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


def encode(fields):
    kind = fields["pdu"]
    pdu = PDU_CLASSES[kind]()
    bindings = [(tuple(int(a) for a in name.split(".")), make_value(t, v)) for name, t, v in fields.get("bindings", [])]
    if kind == "trap":
        api_pdu = V1.apiTrapPDU
        api_pdu.setDefaults(pdu)
        api_pdu.setEnterprise(pdu, tuple(int(a) for a in fields["enterprise"].split(".")))
        api_pdu.setAgentAddr(pdu, V1.IpAddress(fields["agent_address"]))
        api_pdu.setGenericTrap(pdu, fields["generic_trap"])
        api_pdu.setSpecificTrap(pdu, fields["specific_trap"])
        api_pdu.setTimeStamp(pdu, fields["time_stamp"])
    else:
        api_pdu = V1.apiPDU
        api_pdu.setDefaults(pdu)
        api_pdu.setRequestID(pdu, fields["request_id"])
        api_pdu.setErrorStatus(pdu, fields.get("error_status", 0))
        api_pdu.setErrorIndex(pdu, fields.get("error_index", 0))
    api_pdu.setVarBinds(pdu, bindings)
    message = V1.Message()
    V1.apiMessage.setDefaults(message)
    V1.apiMessage.setCommunity(message, fields["community"].encode("latin-1"))
    V1.apiMessage.setPDU(message, pdu)
    return encoder.encode(message).hex()


def request(command, port, community, args):
    from pysnmp import hlapi

    if command == "get":
        objects = [hlapi.ObjectType(hlapi.ObjectIdentity(oid)) for oid in args]
        run = hlapi.getCmd
    else:
        if len(args) % 3 != 0:
            raise ValueError("set wants OID TYPE VALUE triples")
        objects = [hlapi.ObjectType(hlapi.ObjectIdentity(args[i]), make_value(args[i + 1], parse_value(args[i + 1], args[i + 2])))
                   for i in range(0, len(args), 3)]
        run = hlapi.setCmd
    # Loopback only: the address is fixed here on purpose.
    indication, status, index, bindings = next(run(
        hlapi.SnmpEngine(),
        hlapi.CommunityData(community, mpModel=0),
        hlapi.UdpTransportTarget(("127.0.0.1", int(port)), timeout=1.5, retries=0),
        hlapi.ContextData(),
        *objects))
    return {
        "error": str(indication) if indication else None,
        "error_status": int(status),
        "error_index": int(index),
        "bindings": [[oid_text(oid)] + describe_value(value) for oid, value in bindings],
    }


def parse_value(kind, text):
    return int(text) if kind in ("integer", "counter", "gauge", "timeticks") else text


def main(argv):
    if len(argv) == 3 and argv[1] == "decode":
        print(json.dumps(decode(argv[2])))
    elif len(argv) == 3 and argv[1] == "encode":
        print(encode(json.loads(argv[2])))
    elif len(argv) >= 5 and argv[1] in ("get", "set"):
        print(json.dumps(request(argv[1], argv[2], argv[3], argv[4:])))
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
