#include "netsnmp_async_fleet.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstdlib>
#include <type_traits>
#include <sys/select.h>

static_assert(std::is_same_v<oid, unsigned long>, "net-snmp identifiers are unsigned long here");
using NameList = QVector<QVector<oid>>;

struct NetSnmpAsyncFleet::DeviceState {
    netsnmp_session *session = nullptr;
    const QVector<NameList> *requests = nullptr;
    int next = 0;
    int *active = nullptr;
    int *failures = nullptr;
};

namespace {

bool sendNext(NetSnmpAsyncFleet::DeviceState *device);

int onResponse(int operation, netsnmp_session *, int, netsnmp_pdu *pdu, void *magic)
{
    auto *device = static_cast<NetSnmpAsyncFleet::DeviceState *>(magic);
    if (operation != NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE || !pdu || pdu->errstat != SNMP_ERR_NOERROR)
        ++*device->failures;
    if (device->next >= device->requests->size() || !sendNext(device))
        --*device->active;
    return 1;
}

bool sendNext(NetSnmpAsyncFleet::DeviceState *device)
{
    netsnmp_pdu *pdu = snmp_pdu_create(SNMP_MSG_GET);
    for (const QVector<oid> &name : device->requests->at(device->next))
        snmp_add_null_var(pdu, name.constData(), size_t(name.size()));
    ++device->next;
    if (snmp_async_send(device->session, pdu, onResponse, device) == 0) {
        snmp_free_pdu(pdu);
        ++*device->failures;
        return false;
    }
    return true;
}

}  // namespace

NetSnmpAsyncFleet::NetSnmpAsyncFleet(const QVector<fleet::Device> &devices, const QByteArray &community,
                                     const QVector<QVector<snmp::Oid>> &requests, int timeoutMs, int retries)
{
    // Numeric identifiers only: no MIB files to read, no configuration.
    setenv("MIBS", "", 1);
    setenv("MIBDIRS", "", 1);
    setenv("SNMPCONFPATH", "/nonexistent", 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    init_snmp("corvane-fleet-bench");
    // The identifiers in net-snmp's own form, made once, as a tool would.
    for (const QVector<snmp::Oid> &request : requests) {
        NameList list;
        for (const snmp::Oid &name : request)
            list << QVector<oid>(name.begin(), name.end());
        names_ << list;
    }
    opened_ = true;
    for (const fleet::Device &device : devices) {
        auto state = std::make_unique<DeviceState>();
        state->requests = &names_;
        netsnmp_session settings;
        snmp_sess_init(&settings);
        const QByteArray peer = "udp:" + device.address.toString().toLatin1() + ':' + QByteArray::number(device.port);
        settings.peername = const_cast<char *>(peer.constData());
        settings.version = SNMP_VERSION_1;
        settings.community = reinterpret_cast<u_char *>(const_cast<char *>(community.constData()));
        settings.community_len = size_t(community.size());
        settings.timeout = long(timeoutMs) * 1000;
        settings.retries = retries;
        state->session = snmp_open(&settings);
        if (!state->session) {
            opened_ = false;
            return;
        }
        devices_.push_back(std::move(state));
    }
}

NetSnmpAsyncFleet::~NetSnmpAsyncFleet()
{
    for (const auto &device : devices_)
        snmp_close(device->session);
}

int NetSnmpAsyncFleet::readAll()
{
    int active = 0;
    int failures = 0;
    for (const auto &device : devices_) {
        device->next = 0;
        device->active = &active;
        device->failures = &failures;
        if (sendNext(device.get()))
            ++active;
    }
    while (active > 0) {
        int fds = 0;
        int block = 1;
        fd_set readable;
        timeval timeout{};
        FD_ZERO(&readable);
        snmp_select_info(&fds, &readable, &timeout, &block);
        const int ready = select(fds, &readable, nullptr, nullptr, block ? nullptr : &timeout);
        if (ready < 0)
            return failures + active;
        if (ready > 0)
            snmp_read(&readable);
        else
            snmp_timeout();
    }
    return failures;
}
