#include "apsim_options.h"

#include "device_objects.h"

#include <QCommandLineParser>

namespace sim {

namespace {

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption address{QStringLiteral("address"),
                               QStringLiteral("Address to listen on (default 127.0.0.1)."), QStringLiteral("A"),
                               QStringLiteral("127.0.0.1")};
    QCommandLineOption count{QStringLiteral("count"),
                             QStringLiteral("Serve N devices, each its own agent and store, on N consecutive "
                                            "addresses from --address, all on the same port (default 1)."),
                             QStringLiteral("N"), QStringLiteral("1")};
    QCommandLineOption port{QStringLiteral("port"),
                            QStringLiteral("UDP port to listen on (default 1161; 0 picks a free port for each device)."),
                            QStringLiteral("N"), QStringLiteral("1161")};
    QCommandLineOption community{QStringLiteral("community"),
                                 QStringLiteral("Read/write community (default kavrel)."), QStringLiteral("C"),
                                 QStringLiteral("kavrel")};
    QCommandLineOption allowAny{QStringLiteral("allow-any-address"),
                                QStringLiteral("Permit an address outside the loopback range.")};
    QCommandLineOption trapDestination{QStringLiteral("trap-destination"),
                                       QStringLiteral("Send traps to this address and port."),
                                       QStringLiteral("A:P")};
    QCommandLineOption trapEvery{QStringLiteral("trap-every"),
                                 QStringLiteral("Send a station trap (stations associating, authenticating, leaving) every SECONDS seconds."),
                                 QStringLiteral("SECONDS")};
    QCommandLineOption eventTraps{QStringLiteral("event-traps"),
                                  QStringLiteral("Report resets, restored defaults and changed settings as traps.")};
    QCommandLineOption moveOnReset{QStringLiteral("move-on-reset"),
                                   QStringLiteral("On reset, move to the stored operIPAddress when it is a loopback address.")};
    QCommandLineOption dropRatio{QStringLiteral("drop-ratio"),
                                 QStringLiteral("Ignore this share of the requests (0 to 1)."), QStringLiteral("R")};
    QCommandLineOption delayMs{QStringLiteral("delay-ms"), QStringLiteral("Answer this many milliseconds late."),
                               QStringLiteral("N")};
    QCommandLineOption silentObject{QStringLiteral("silent-object"),
                                    QStringLiteral("Do not answer requests naming this object (repeatable)."),
                                    QStringLiteral("NAME")};
    QCommandLineOption wrongEcho{QStringLiteral("wrong-echo"),
                                 QStringLiteral("Echo a different value when this object is set (repeatable)."),
                                 QStringLiteral("NAME")};
    QCommandLineOption shortValue{QStringLiteral("short-value"),
                                  QStringLiteral("Report this object one byte or digit short (repeatable)."),
                                  QStringLiteral("NAME")};
    QCommandLineOption errorStatus{QStringLiteral("error-status"),
                                   QStringLiteral("Answer every request with this error status."), QStringLiteral("N")};
    QCommandLineOption duplicates{QStringLiteral("duplicates"),
                                  QStringLiteral("Send N extra copies of every answer."), QStringLiteral("N")};
    QCommandLineOption lateDuplicate{QStringLiteral("late-duplicate-ms"),
                                     QStringLiteral("Send one more copy of every answer N milliseconds later."),
                                     QStringLiteral("N")};
    QCommandLineOption wrongRequestId{QStringLiteral("wrong-request-id"),
                                      QStringLiteral("Answer with the request id plus 1000.")};
    QCommandLineOption silent{QStringLiteral("silent"), QStringLiteral("Answer nothing at all.")};
    QCommandLineOption help = QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                                 QStringLiteral("Show this help."));
    QCommandLineOption version{QStringLiteral("version"), QStringLiteral("Show the version.")};

    Parser()
    {
        parser.setApplicationDescription(
            QStringLiteral("Simulated Corvane access point: an SNMPv1 agent on a loopback UDP port.\n"
                           "Runs until it is ended with SIGINT or SIGTERM."));
        parser.addOptions({address, count, port, community, allowAny, trapDestination, trapEvery, eventTraps,
                           moveOnReset, dropRatio, delayMs, silentObject, wrongEcho, shortValue, errorStatus,
                           duplicates, lateDuplicate, wrongRequestId, silent, help, version});
    }
};

bool readInt(const QCommandLineParser &parser, const QCommandLineOption &option, int min, int max, int &out,
             QString &error)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < min || value > max) {
        error = QStringLiteral("--%1 wants a whole number from %2 to %3")
                    .arg(option.names().constFirst()).arg(min).arg(max);
        return false;
    }
    out = value;
    return true;
}

bool readNames(const QCommandLineParser &parser, const QCommandLineOption &option, QSet<QString> &out,
               QString &error)
{
    for (const QString &name : parser.values(option)) {
        if (!findObject(name)) {
            error = QStringLiteral("--%1: the device has no object %2").arg(option.names().constFirst(), name);
            return false;
        }
        out.insert(name);
    }
    return true;
}

bool readHostPort(const QString &text, QHostAddress &address, quint16 &port)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    bool ok = false;
    const uint number = text.mid(colon + 1).toUInt(&ok);
    if (!ok || number == 0 || number > 65535)
        return false;
    QString host = text.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    if (!address.setAddress(host))
        return false;
    port = quint16(number);
    return true;
}

}  // namespace

ApsimCommandLine parseApsimCommandLine(const QStringList &arguments)
{
    Parser p;
    ApsimCommandLine result;
    result.helpText = p.parser.helpText();
    QString &error = result.error;
    if (!p.parser.parse(arguments)) {
        error = p.parser.errorText();
        return result;
    }
    if (!p.parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument %1").arg(p.parser.positionalArguments().constFirst());
        return result;
    }
    if (p.parser.isSet(p.help)) {
        result.outcome = ApsimCommandLine::Outcome::ShowHelp;
        return result;
    }
    if (p.parser.isSet(p.version)) {
        result.outcome = ApsimCommandLine::Outcome::ShowVersion;
        return result;
    }

    ApsimOptions &o = result.options;
    o.allowAnyAddress = p.parser.isSet(p.allowAny);
    if (!o.address.setAddress(p.parser.value(p.address))) {
        error = QStringLiteral("--address: %1 is not an IP address").arg(p.parser.value(p.address));
        return result;
    }
    if (!o.allowAnyAddress && !o.address.isLoopback()) {
        error = QStringLiteral("--address: %1 is not a loopback address (add --allow-any-address to permit it)")
                    .arg(o.address.toString());
        return result;
    }
    if (!readInt(p.parser, p.count, 1, kMaxDevices, o.count, error))
        return result;
    if (o.count > 1) {
        bool isIpv4 = false;
        const quint32 first = o.address.toIPv4Address(&isIpv4);
        if (!isIpv4) {
            error = QStringLiteral("--count: consecutive addresses need an IPv4 --address");
            return result;
        }
        const QHostAddress last(quint32(first + quint32(o.count - 1)));
        if (first > 0xFFFFFFFFu - quint32(o.count - 1) || (!o.allowAnyAddress && !last.isLoopback())) {
            error = QStringLiteral("--count: %1 devices from %2 would run past the loopback range")
                        .arg(o.count).arg(o.address.toString());
            return result;
        }
    }
    int port = o.port;
    if (!readInt(p.parser, p.port, 0, 65535, port, error))
        return result;
    o.port = quint16(port);
    o.community = p.parser.value(p.community).toLatin1();

    if (p.parser.isSet(p.trapDestination)) {
        if (!readHostPort(p.parser.value(p.trapDestination), o.trapAddress, o.trapPort)) {
            error = QStringLiteral("--trap-destination wants ADDRESS:PORT, got %1").arg(p.parser.value(p.trapDestination));
            return result;
        }
        if (!o.allowAnyAddress && !o.trapAddress.isLoopback()) {
            error = QStringLiteral("--trap-destination: %1 is not a loopback address").arg(o.trapAddress.toString());
            return result;
        }
    }
    if (!readInt(p.parser, p.trapEvery, 1, 86400, o.trapEverySeconds, error))
        return result;
    if (o.trapEverySeconds > 0 && o.trapPort == 0) {
        error = QStringLiteral("--trap-every needs --trap-destination");
        return result;
    }
    o.moveOnReset = p.parser.isSet(p.moveOnReset);
    o.eventTraps = p.parser.isSet(p.eventTraps);

    Faults &f = o.faults;
    if (p.parser.isSet(p.dropRatio)) {
        bool ok = false;
        f.dropRatio = p.parser.value(p.dropRatio).toDouble(&ok);
        if (!ok || !(f.dropRatio >= 0.0 && f.dropRatio <= 1.0)) {
            error = QStringLiteral("--drop-ratio wants a number from 0 to 1");
            return result;
        }
    }
    if (!readInt(p.parser, p.delayMs, 0, 600000, f.delayMs, error)
        || !readInt(p.parser, p.errorStatus, 0, 5, f.errorStatus, error)
        || !readInt(p.parser, p.duplicates, 0, 100, f.duplicateAnswers, error)
        || !readInt(p.parser, p.lateDuplicate, 0, 600000, f.lateDuplicateMs, error)
        || !readNames(p.parser, p.silentObject, f.silentObjects, error)
        || !readNames(p.parser, p.wrongEcho, f.wrongEchoObjects, error)
        || !readNames(p.parser, p.shortValue, f.shortValueObjects, error))
        return result;
    f.wrongRequestId = p.parser.isSet(p.wrongRequestId);
    f.silent = p.parser.isSet(p.silent);
    result.outcome = ApsimCommandLine::Outcome::Run;
    return result;
}

QVector<QHostAddress> deviceAddresses(const ApsimOptions &options)
{
    if (options.count <= 1)
        return {options.address};
    QVector<QHostAddress> addresses;
    const quint32 first = options.address.toIPv4Address();
    for (int i = 0; i < options.count; ++i)
        addresses.append(QHostAddress(quint32(first + quint32(i))));
    return addresses;
}

void configure(SimulatedAccessPoint &agent, const ApsimOptions &options)
{
    agent.community = options.community;
    agent.allowNonLoopback = options.allowAnyAddress;
    agent.moveOnReset = options.moveOnReset;
    agent.eventTraps = options.eventTraps;
    agent.faults = options.faults;
    if (options.trapPort != 0)
        agent.setTrapDestination(options.trapAddress, options.trapPort);
}

}  // namespace sim
