#include "command_line.h"

#include "config/encodings.h"

#include <QFile>

namespace ctl {

QVector<OptionEntry> deviceOptionEntries()
{
    return {
        {{"community-file"}, "FILE", "Read the read/write community from the first line of FILE."},
        {{"community"}, "TEXT",
         "The read/write community. Other users can see it in the process list: prefer --community-file or "
         "the environment variable CORVANE_COMMUNITY. Without any of them: the factory community \"kavrel\"."},
        {{"port"}, "PORT", "The devices' SNMP port (default 161); HOST:PORT overrides it for one device."},
        {{"timeout"}, "MS", "Milliseconds to wait for each answer (default 1000; the device's longer waits grow with it)."},
        {{"retries"}, "N", "Requests sent again when unanswered (default 2)."},
        {{"concurrency"}, "N", "Devices talked to at once, at most (default 64)."},
        {{"force"}, "", "Take more than 65536 addresses (a /16)."},
        {{"loopback-only"}, "", "Send to 127.0.0.0/8 only (also on when CORVANE_LOOPBACK_ONLY is set)."},
    };
}

QString optionTable(const QVector<OptionEntry> &entries)
{
    QStringList left;
    int width = 0;
    for (const OptionEntry &entry : entries) {
        QStringList names;
        for (const QString &name : entry.names)
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        QString text = names.join(QStringLiteral(", "));
        if (!entry.valueName.isEmpty())
            text += QLatin1Char(' ') + entry.valueName;
        left << text;
        width = qMax(width, int(text.size()));
    }
    QString table;
    for (int i = 0; i < entries.size(); ++i)
        table += QStringLiteral("  %1  %2\n").arg(left[i], -width).arg(entries[i].description);
    return table;
}

CommandLine::CommandLine(const QString &command, const QString &usage, const QString &summary,
                         const QVector<OptionEntry> &options, bool deviceOptions)
    : command_(command), usage_(usage), summary_(summary), entries_(options), deviceOptions_(deviceOptions)
{
    if (deviceOptions_)
        entries_ += deviceOptionEntries();
    entries_.append({{"h", "help"}, "", "Show this help."});
    parser_.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionEntry &entry : std::as_const(entries_)) {
        QCommandLineOption option(entry.names, entry.description);
        if (!entry.valueName.isEmpty())
            option.setValueName(entry.valueName);
        parser_.addOption(option);
    }
}

bool CommandLine::parse(const QStringList &arguments, QString &error)
{
    // The parser takes the first argument for the program's name.
    if (!parser_.parse(QStringList{command_} + arguments)) {
        error = parser_.errorText();
        return false;
    }
    return true;
}

QString CommandLine::helpText() const
{
    return QStringLiteral("Usage: corvanectl %1 %2\n\n%3\n\nOptions:\n%4")
        .arg(command_, usage_, summary_, optionTable(entries_));
}

bool CommandLine::number(const QString &name, int minimum, int maximum, int &value, QString &error) const
{
    if (!parser_.isSet(name))
        return true;
    bool ok = false;
    const int parsed = parser_.value(name).toInt(&ok);
    if (!ok || parsed < minimum || parsed > maximum) {
        error = QStringLiteral("--%1: \"%2\" is not a whole number from %3 to %4")
                    .arg(name, parser_.value(name))
                    .arg(minimum)
                    .arg(maximum);
        return false;
    }
    value = parsed;
    return true;
}

bool CommandLine::commonOptions(CommonOptions &o, QString &error, bool &fileError) const
{
    fileError = false;
    int port = o.port;
    if (!number(QStringLiteral("port"), 1, 65535, port, error) || !number(QStringLiteral("timeout"), 1, 600000, o.timeoutMs, error)
        || !number(QStringLiteral("retries"), 0, 20, o.retries, error)
        || !number(QStringLiteral("concurrency"), 1, 4096, o.concurrency, error))
        return false;
    o.port = quint16(port);
    o.force = isSet(QStringLiteral("force"));
    o.loopbackOnly = isSet(QStringLiteral("loopback-only"));

    if (isSet(QStringLiteral("community"))) {
        o.community = value(QStringLiteral("community")).toLatin1();
        o.communitySource = QStringLiteral("command line");
    } else if (isSet(QStringLiteral("community-file"))) {
        QFile file(value(QStringLiteral("community-file")));
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("%1: %2").arg(file.fileName(), file.errorString());
            fileError = true;
            return false;
        }
        QByteArray line = file.read(4096);
        const qsizetype end = line.indexOf('\n');
        if (end >= 0)
            line.truncate(end);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty()) {
            error = QStringLiteral("%1: the first line holds no community").arg(file.fileName());
            fileError = true;
            return false;
        }
        o.community = line;
        o.communitySource = QStringLiteral("file");
    } else if (qEnvironmentVariableIsSet(kCommunityVariable)) {
        o.community = qgetenv(kCommunityVariable);
        o.communitySource = QStringLiteral("environment");
    } else {
        o.community = config::kFactoryCommunity.toLatin1();
        o.communitySource = QStringLiteral("factory");
    }
    return true;
}

}  // namespace ctl
