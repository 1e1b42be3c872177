#include "program.h"

#include "command.h"
#include "context.h"

#include "config/device_mib.h"
#include "snmp/loopback_guard.h"
#include "snmp/mib.h"
#include "snmp/request_engine.h"

#include <QCoreApplication>
#include <QDir>

namespace ctl {

namespace {

const QString kExitCodes = QStringLiteral(
    "Exit status:\n"
    "  0  done\n"
    "  1  not done: declined, no socket, or the loopback-only guard refused the address\n"
    "  2  bad input: usage, a value the device would refuse, too many addresses\n"
    "  3  no answer from the device (a scan: no device found)\n"
    "  4  refused by the device, or a value not taken\n"
    "  5  file error: not readable or writable, or not a settings file this program takes\n"
    "  6  some hosts failed (several hosts, not all alike; one line on stderr for each)\n");

}  // namespace

const QVector<CommandEntry> &commandEntries()
{
    static const QVector<CommandEntry> entries = {scanCommand(),   showCommand(),    getCommand(),
                                               setCommand(),    backupCommand(),  restoreCommand(),
                                               statsCommand(),  trapsCommand(),   resetCommand(),
                                               restoreDefaultsCommand(), wepKeysCommand()};
    return entries;
}

Program::Program(Console &console, QObject *parent) : QObject(parent), console_(console) {}

Program::~Program() = default;

QString Program::overallHelp()
{
    QString commands;
    for (const CommandEntry &entry : commandEntries())
        commands += QStringLiteral("  %1 %2\n").arg(entry.name, -17).arg(entry.summary.section(QLatin1Char('\n'), 0, 0));
    return QStringLiteral(
               "Usage: corvanectl COMMAND [OPTIONS] [ARGUMENTS]\n\n"
               "Manages Corvane 802.11b access points over SNMPv1 from the command line: one device or a whole "
               "network at once.\n\nCommands:\n%1\n"
               "HOST is an IPv4 address (names are not looked up), optionally with :PORT; where a command takes "
               "several hosts, also a network (192.168.1.0/24, without its network and broadcast addresses) or a "
               "span (10.0.0.5-10.0.0.80).\n\n"
               "Options of the commands that talk to devices:\n%2\n"
               "  --version          Show the version.\n\n%3\n"
               "corvanectl COMMAND --help tells more; see also corvanectl(1).\n")
        .arg(commands, optionTable(deviceOptionEntries()), kExitCodes);
}

void Program::start(const QStringList &arguments)
{
    const int code = begin(arguments);
    if (code >= 0)
        end(code);
}

void Program::end(int exitCode)
{
    console_.out.flush();
    console_.err.flush();
    QMetaObject::invokeMethod(this, [this, exitCode] { emit finished(exitCode); }, Qt::QueuedConnection);
}

// The exit status when done at once, -1 when a command runs.
int Program::begin(const QStringList &arguments)
{
    QTextStream &out = console_.out;
    QTextStream &err = console_.err;
    const QString first = arguments.value(0);
    if (first == QLatin1String("--version")) {
        out << "corvanectl " << kVersion << '\n';
        return Success;
    }
    if (first.isEmpty() || first == QLatin1String("--help") || first == QLatin1String("-h")
        || first == QLatin1String("help")) {
        (first.isEmpty() ? err : out) << overallHelp();
        return first.isEmpty() ? BadInput : Success;
    }
    const CommandEntry *entry = nullptr;
    for (const CommandEntry &candidate : commandEntries()) {
        if (candidate.name == first)
            entry = &candidate;
    }
    if (!entry) {
        err << "corvanectl: unknown command \"" << first << "\"; see corvanectl --help\n";
        return BadInput;
    }
    CommandLine line(entry->name, entry->usage, entry->summary, entry->options, entry->talksToDevices);
    QString error;
    if (!line.parse(arguments.mid(1), error)) {
        if (error.endsWith(QLatin1Char('.')))
            error.chop(1);
        err << "corvanectl " << entry->name << ": " << error << "; see corvanectl " << entry->name << " --help\n";
        return BadInput;
    }
    if (line.helpAsked()) {
        out << line.helpText() << '\n' << kExitCodes;
        return Success;
    }
    CommonOptions options;
    if (entry->talksToDevices) {
        bool fileError = false;
        if (!line.commonOptions(options, error, fileError)) {
            err << "corvanectl " << entry->name << ": " << error << '\n';
            return fileError ? FileError : BadInput;
        }
        if (options.communitySource == QLatin1String("command line"))
            err << "corvanectl: warning: a community given with --community can be seen by other users of this "
                   "computer; prefer --community-file or CORVANE_COMMUNITY\n";
        if (options.loopbackOnly)
            snmp::loopback_guard::setOn(true);
    }

    engine_ = std::make_unique<snmp::RequestEngine>();
    mib_ = std::make_unique<snmp::Mib>();
    context_.reset(new Context{console_, *engine_, *mib_, options});
    command_.reset(entry->make(*context_));
    const int prepared = command_->prepare(line, error);
    if (prepared != Success) {
        err << "corvanectl " << entry->name << ": " << error << '\n';
        return prepared;
    }
    if (entry->talksToDevices) {
        const QString besideProgram = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("CorvaneMIB.mib"));
        const snmp::Mib::LoadResult loaded = mib_->Load(config::mibToLoad(besideProgram));
        if (!loaded.ok) {
            err << "corvanectl: the MIB could not be loaded: " << loaded.error << '\n';
            return NotDone;
        }
        const snmp::OpenResult opened = engine_->open();
        if (!opened.ok) {
            err << "corvanectl: no UDP socket: " << opened.description << '\n';
            return NotDone;
        }
    }
    connect(command_.get(), &Command::finished, this, &Program::end);
    command_->start();
    return -1;
}

}  // namespace ctl
