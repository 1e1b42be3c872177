#include "settings/command_line_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHostAddress>

namespace settings {

namespace {

bool parsePort(const QString &text, quint16 *port)
{
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok, 10);
    if (!ok || value == 0 || value > 65535)
        return false;
    *port = quint16(value);
    return true;
}

bool parseIPv4(const QString &text, QString *address)
{
    const QHostAddress parsed(text.trimmed());
    if (parsed.isNull() || parsed.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    *address = parsed.toString();
    return true;
}

}  // namespace

CommandLineResult parseCommandLine(const QStringList &arguments)
{
    CommandLineResult result;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Management console for the TARVO access point and bridge."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption agentPort(QStringLiteral("agent-port"),
                                       QStringLiteral("UDP port of the device's agent (default 161)."),
                                       QStringLiteral("N"));
    const QCommandLineOption trapPort(QStringLiteral("trap-port"),
                                      QStringLiteral("Local UDP port that receives traps (default 162)."),
                                      QStringLiteral("N"));
    const QCommandLineOption trapAddress(
        QStringLiteral("trap-address"),
        QStringLiteral("Receive traps only on this local IPv4 address (default: all)."), QStringLiteral("A"));
    const QCommandLineOption scanAddress(
        QStringLiteral("scan-address"),
        QStringLiteral("IPv4 address the scan is sent to (default 255.255.255.255)."), QStringLiteral("A"));
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      QStringLiteral("Keep the settings in this INI file instead of the user's."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Run against a simulated access point on 127.0.0.1 (nothing leaves this machine)."));
    const QCommandLineOption trapLog(
        QStringLiteral("trap-log"),
        QStringLiteral("Write received traps to this file (default: TrapLog.txt in the user's data folder, or "
                       "beside the program in a build tree)."),
        QStringLiteral("FILE"));
    const QCommandLineOption check(
        QStringLiteral("check"),
        QStringLiteral("Without a window: say where the MIB, help and trap log files are and whether the trap port "
                       "opens, then exit (status 0 when all is well)."));
    parser.addOptions({agentPort, trapPort, trapAddress, scanAddress, settings, trapLog, demo, check});

    if (!parser.parse(arguments)) {
        result.text = parser.errorText();
        return result;
    }
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all"))) {
        result.action = CommandLineResult::Action::ShowHelp;
        // Before the application object exists the parser cannot know the
        // program's name.
        const QString program =
            arguments.isEmpty() ? QStringLiteral("corvane-manager") : QFileInfo(arguments.constFirst()).fileName();
        result.text = parser.helpText().replace(QLatin1String("<executable_name>"), program);
        return result;
    }
    if (parser.isSet(versionOption)) {
        result.action = CommandLineResult::Action::ShowVersion;
        result.text = QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                     QCoreApplication::applicationVersion());
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.text = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
        return result;
    }

    CommandLineOptions &options = result.options;
    if (parser.isSet(agentPort) && !parsePort(parser.value(agentPort), &options.session.agentPort)) {
        result.text = QStringLiteral("--agent-port needs a port number from 1 to 65535.");
        return result;
    }
    if (parser.isSet(trapPort)) {
        if (!parsePort(parser.value(trapPort), &options.session.trapPort)) {
            result.text = QStringLiteral("--trap-port needs a port number from 1 to 65535.");
            return result;
        }
        options.trapPortGiven = true;
    }
    if (parser.isSet(scanAddress)) {
        const QString text = parser.value(scanAddress).trimmed();
        const QHostAddress address(text);
        if (address.isNull() || address.protocol() != QAbstractSocket::IPv4Protocol) {
            result.text = QStringLiteral("--scan-address needs a dotted IPv4 address.");
            return result;
        }
        options.session.scanAddress = address.toString();
    }
    if (parser.isSet(trapAddress)) {
        if (!parseIPv4(parser.value(trapAddress), &options.trapAddress)) {
            result.text = QStringLiteral("--trap-address needs a dotted IPv4 address.");
            return result;
        }
    }
    if (parser.isSet(settings)) {
        options.settingsFile = parser.value(settings);
        if (options.settingsFile.trimmed().isEmpty()) {
            result.text = QStringLiteral("--settings needs a file name.");
            return result;
        }
    }
    if (parser.isSet(trapLog)) {
        options.trapLogFile = parser.value(trapLog);
        if (options.trapLogFile.trimmed().isEmpty()) {
            result.text = QStringLiteral("--trap-log needs a file name.");
            return result;
        }
    }
    options.demo = parser.isSet(demo);
    result.action = parser.isSet(check) ? CommandLineResult::Action::Check : CommandLineResult::Action::Run;
    return result;
}

}  // namespace settings
