#include "exporter_options.h"

#include "settings/app_version.h"

#include <QCommandLineParser>
#include <QFile>
#include <cmath>

namespace exporter {

namespace {

constexpr qint64 kLongestCommunityFile = 4096;

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption listen{QStringLiteral("listen"),
                              QStringLiteral("Serve HTTP on ADDRESS:PORT (default 127.0.0.1:%1; port 0 picks a free "
                                             "one). Another address than loopback lets other machines scrape.")
                                  .arg(kDefaultListenPort),
                              QStringLiteral("ADDRESS:PORT")};
    QCommandLineOption allow{QStringLiteral("allow"),
                             QStringLiteral("Ask only devices in this IPv4 network, like 10.20.0.0/16 (repeatable; "
                                            "default 127.0.0.0/8). Other targets get 403 and are sent nothing."),
                             QStringLiteral("CIDR")};
    QCommandLineOption communityFile{QStringLiteral("community-file"),
                                     QStringLiteral("Read the SNMP community from the first line of FILE (else from "
                                                    "the environment variable CORVANE_COMMUNITY)."),
                                     QStringLiteral("FILE")};
    QCommandLineOption agentPort{QStringLiteral("agent-port"),
                                 QStringLiteral("UDP port of a target given without one (default 161)."),
                                 QStringLiteral("PORT")};
    QCommandLineOption timeout{QStringLiteral("timeout"),
                               QStringLiteral("Time-out of a scrape that does not send "
                                              "X-Prometheus-Scrape-Timeout-Seconds (default 10)."),
                               QStringLiteral("SECONDS")};
    QCommandLineOption timeoutOffset{QStringLiteral("timeout-offset"),
                                     QStringLiteral("Answer this much before the scrape's time-out (default 0.5)."),
                                     QStringLiteral("SECONDS")};
    QCommandLineOption identityTtl{QStringLiteral("identity-ttl"),
                                   QStringLiteral("Read a device's identity and channel again after this long "
                                                  "(default 300; 0: with every scrape)."),
                                   QStringLiteral("SECONDS")};
    QCommandLineOption mib{QStringLiteral("mib"),
                           QStringLiteral("Read the device's MIB from FILE instead of the one built in."),
                           QStringLiteral("FILE")};
    QCommandLineOption verbose{QStringLiteral("verbose"), QStringLiteral("Log every failed scrape.")};
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")};
    QCommandLineOption version{QStringLiteral("version"), QStringLiteral("Show the version.")};

    Parser()
    {
        parser.setApplicationDescription(QStringLiteral(
            "Prometheus exporter for Corvane access points: answers GET /metrics?target=ADDRESS[:PORT] (or "
            "/snmp?target=...) with the device's counters, read over SNMPv1 at the time of the scrape.\n"
            "The SNMP community comes from --community-file or CORVANE_COMMUNITY, never from the command line."));
        parser.addOptions({listen, allow, communityFile, agentPort, timeout, timeoutOffset, identityTtl, mib, verbose,
                           help, version});
    }
};

bool readSeconds(const QCommandLineParser &parser, const QCommandLineOption &option, double minimum, double &out,
                 QString &error)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const double value = parser.value(option).toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < minimum || value > 86400) {
        error = QStringLiteral("--%1 wants seconds from %2 to 86400, got %3")
                    .arg(option.names().constFirst()).arg(minimum).arg(parser.value(option));
        return false;
    }
    out = value;
    return true;
}

bool readListen(const QString &text, QHostAddress &address, quint16 &port)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    bool ok = false;
    const uint number = text.mid(colon + 1).toUInt(&ok);
    if (!ok || number > 65535)
        return false;
    QString host = text.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    port = quint16(number);
    return address.setAddress(host);
}

// The first line of the file, without its line end.
bool readCommunityFile(const QString &path, QByteArray &community, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("--community-file %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray content = file.read(kLongestCommunityFile);
    const qsizetype end = content.indexOf('\n');
    community = end < 0 ? content : content.left(end);
    if (community.endsWith('\r'))
        community.chop(1);
    if (community.isEmpty()) {
        error = QStringLiteral("--community-file %1: the first line is empty").arg(path);
        return false;
    }
    return true;
}

}  // namespace

ExporterCommandLine parseExporterCommandLine(const QStringList &arguments, const QProcessEnvironment &environment)
{
    Parser p;
    ExporterCommandLine result;
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
        result.outcome = ExporterCommandLine::Outcome::ShowHelp;
        return result;
    }
    if (p.parser.isSet(p.version)) {
        result.outcome = ExporterCommandLine::Outcome::ShowVersion;
        return result;
    }

    ExporterOptions &o = result.options;
    ScrapeLimits &limits = o.server.limits;
    if (p.parser.isSet(p.listen) && !readListen(p.parser.value(p.listen), o.listenAddress, o.listenPort)) {
        error = QStringLiteral("--listen wants ADDRESS:PORT, got %1").arg(p.parser.value(p.listen));
        return result;
    }
    const QStringList networks =
        p.parser.isSet(p.allow) ? p.parser.values(p.allow) : QStringList{QStringLiteral("127.0.0.0/8")};
    for (const QString &text : networks) {
        const auto network = AllowList::parseNetwork(text, &error);
        if (!network) {
            error.prepend(QStringLiteral("--allow: "));
            return result;
        }
        limits.allowed.add(*network);
    }
    if (p.parser.isSet(p.agentPort)) {
        bool ok = false;
        const uint port = p.parser.value(p.agentPort).toUInt(&ok);
        if (!ok || port < 1 || port > 65535) {
            error = QStringLiteral("--agent-port wants a port from 1 to 65535, got %1").arg(p.parser.value(p.agentPort));
            return result;
        }
        limits.agentPort = quint16(port);
    }
    double identityTtl = o.server.pool.identityTtlMs / 1000.0;
    if (!readSeconds(p.parser, p.timeout, 0.01, limits.defaultTimeoutSeconds, error) ||
        !readSeconds(p.parser, p.timeoutOffset, 0, limits.timeoutOffsetSeconds, error) ||
        !readSeconds(p.parser, p.identityTtl, 0, identityTtl, error))
        return result;
    o.server.pool.identityTtlMs = int(identityTtl * 1000);
    o.server.mibPath = p.parser.value(p.mib);
    o.verbose = p.parser.isSet(p.verbose);

    QByteArray &community = o.server.pool.community;
    if (p.parser.isSet(p.communityFile)) {
        if (!readCommunityFile(p.parser.value(p.communityFile), community, error))
            return result;
    } else {
        community = environment.value(QStringLiteral("CORVANE_COMMUNITY")).toLatin1();
        if (community.isEmpty()) {
            error = QStringLiteral("no SNMP community: give --community-file FILE or set CORVANE_COMMUNITY");
            return result;
        }
    }
    result.outcome = ExporterCommandLine::Outcome::Run;
    return result;
}

}  // namespace exporter
