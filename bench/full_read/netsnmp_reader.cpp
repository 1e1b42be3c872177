#include "netsnmp_reader.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstdlib>

NetSnmpReader::NetSnmpReader(quint16 port, const QByteArray &community, const QVector<QVector<Oid>> &requests)
    : requests_(requests)
{
    // Numeric identifiers only: no MIB files to read, no configuration.
    setenv("MIBS", "", 1);
    setenv("MIBDIRS", "", 1);
    setenv("SNMPCONFPATH", "/nonexistent", 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    init_snmp("corvane-bench");
    netsnmp_session session;
    snmp_sess_init(&session);
    const QByteArray peer = "udp:127.0.0.1:" + QByteArray::number(port);
    session.peername = const_cast<char *>(peer.constData());
    session.version = SNMP_VERSION_1;
    session.community = reinterpret_cast<u_char *>(const_cast<char *>(community.constData()));
    session.community_len = size_t(community.size());
    session.timeout = 1000000;  // 1 s, as the console's readers
    session.retries = 0;
    session_ = snmp_sess_open(&session);
}

NetSnmpReader::~NetSnmpReader()
{
    if (session_)
        snmp_sess_close(session_);
}

bool NetSnmpReader::readAll(int from)
{
    for (int i = from; i < requests_.size(); ++i) {
        netsnmp_pdu *pdu = snmp_pdu_create(SNMP_MSG_GET);
        for (const Oid &name : requests_[i])
            snmp_add_null_var(pdu, reinterpret_cast<const oid *>(name.constData()), size_t(name.size()));
        netsnmp_pdu *response = nullptr;
        const int status = snmp_sess_synch_response(session_, pdu, &response);
        const bool good = status == STAT_SUCCESS && response && response->errstat == SNMP_ERR_NOERROR;
        if (response)
            snmp_free_pdu(response);
        if (!good)
            return false;
    }
    return true;
}
