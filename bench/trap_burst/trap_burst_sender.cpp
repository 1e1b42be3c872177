// Sends a bounded burst of SNMPv1 traps (the device's stationReassociated,
// one station binding) to a port on 127.0.0.1, at full speed or at a given
// rate. The datagram is built once; the loop only sends.
//
//   trap_burst_sender PORT COUNT [RATE]     RATE traps/s, 0 or none: full speed
//
// Prints "sent N failed F seconds S".

#include "snmp/snmp_pdu.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray trapDatagram()
{
    snmp::Message trap;
    trap.version = 0;
    trap.community = "kavrel";
    snmp::Pdu &pdu = trap.pdu;
    pdu.type = snmp::PduType::Trap;
    snmp::oidFromText(QStringLiteral("1.3.6.1.4.1.49170"), pdu.enterprise);
    pdu.agentAddress = QByteArray::fromHex("7F000001");
    pdu.genericTrap = 6;
    pdu.specificTrap = 3;
    pdu.timeStamp = 100;
    snmp::Oid station;
    snmp::oidFromText(QStringLiteral("1.3.6.1.4.1.49170.7.1.0"), station);
    pdu.varBinds = {{station, snmp::Value::octets(QByteArray::fromHex("020000000001"))}};
    return snmp::encodeMessage(trap);
}

double now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: trap_burst_sender PORT COUNT [RATE]\n");
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const long count = std::atol(argv[2]);
    const double rate = argc > 3 ? std::atof(argv[3]) : 0.0;
    if (port <= 0 || port > 65535 || count <= 0) {
        std::fprintf(stderr, "trap_burst_sender: bad port or count\n");
        return 2;
    }
    const QByteArray datagram = trapDatagram();
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(quint16(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // 127.0.0.1 and nothing else

    long sent = 0;
    long failed = 0;
    const double start = now();
    while (sent + failed < count) {
        // Paced: catch up with the schedule, then sleep a little.
        const long due = rate > 0 ? std::min(count, long((now() - start) * rate) + 1) : count;
        for (; sent + failed < due; ) {
            if (sendto(s, datagram.constData(), size_t(datagram.size()), 0, reinterpret_cast<sockaddr *>(&to),
                       sizeof to) == datagram.size())
                ++sent;
            else
                ++failed;
        }
        if (rate > 0 && sent + failed < count) {
            timespec pause{0, 100000};
            nanosleep(&pause, nullptr);
        }
    }
    const double seconds = now() - start;
    close(s);
    std::printf("sent %ld failed %ld seconds %.4f\n", sent, failed, seconds);
    return 0;
}
