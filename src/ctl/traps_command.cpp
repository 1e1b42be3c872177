// traps [--port P] [--listen A] [--log FILE] [--json] [--count N]: every
// trap that arrives, as the trap log's entry (the text the window logs,
// from the same builder), appended to FILE in the window's log format, or
// as JSON lines. Traps from any device are taken: a script listens for a
// network, not for one device.

#include "command.h"

#include "snmp/loopback_guard.h"
#include "snmp/mib.h"
#include "snmp/snmp_manager.h"
#include "traps/time_of_day.h"
#include "traps/trap_entry.h"
#include "traps/trap_log_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "config/device_mib.h"

namespace ctl {

namespace {

// A value as JSON text: printable text as it is, anything else as hex.
QJsonObject bindingJson(const snmp::Mib &mib, const snmp::SnmpVariable &variable)
{
    QString oid = variable.Name;
    if (oid.endsWith(QLatin1String(".0")))
        oid.chop(2);
    bool printable = true;
    for (char c : variable.Value)
        printable = printable && uchar(c) >= 0x20 && uchar(c) < 0x7F;
    return {{QStringLiteral("oid"), variable.Name},
            {QStringLiteral("name"), mib.nameOf(oid)},
            {QStringLiteral("value"), printable ? QString::fromLatin1(variable.Value) : QString()},
            {QStringLiteral("hex"), QString::fromLatin1(variable.Value.toHex().toUpper())}};
}

class TrapsCommand : public Command {
public:
    using Command::Command;

    int prepare(const CommandLine &line, QString &error) override
    {
        int port = 162;
        if (!line.number(QStringLiteral("port"), 1, 65535, port, error)
            || !line.number(QStringLiteral("count"), 1, 100000000, count_, error))
            return BadInput;
        port_ = quint16(port);
        json_ = line.isSet(QStringLiteral("json"));
        if (line.isSet(QStringLiteral("log")))
            log_.setPath(line.value(QStringLiteral("log")));
        // A listener opens nothing to the network unless asked: loopback by
        // default, --listen 0.0.0.0 (or one interface's address) for devices.
        listen_ = QHostAddress(QHostAddress::LocalHost);
        if (line.isSet(QStringLiteral("listen")) && !listen_.setAddress(line.value(QStringLiteral("listen")))) {
            error = QStringLiteral("--listen: \"%1\" is not an address").arg(line.value(QStringLiteral("listen")));
            return BadInput;
        }
        if (!line.positional().isEmpty()) {
            error = QStringLiteral("traps takes no arguments, only options");
            return BadInput;
        }
        return Success;
    }

    void start() override
    {
        const QString besideProgram = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("CorvaneMIB.mib"));
        mib_.Load(config::mibToLoad(besideProgram));
        const snmp::OpenResult opened = manager_.Open(listen_, port_);
        if (!opened.ok) {
            if (opened.errorNumber == snmp::kErrorAddressInUse)
                err() << QStringLiteral("Trap port(%1) is in use. Check to see if another manager is running, then "
                                        "try again.")
                             .arg(port_);
            else if (opened.errorNumber == snmp::kErrorAccessDenied)
                err() << QStringLiteral("Traps cannot be received: port %1 needs administrator rights; give --port "
                                        "1162 and point the devices' trap destination there.")
                             .arg(port_);
            else
                err() << QStringLiteral("Traps cannot be received on port %1: %2").arg(port_).arg(opened.description);
            err() << Qt::endl;
            finish(NotDone);
            return;
        }
        err() << "corvanectl: listening for traps on " << listen_.toString() << ':' << manager_.LocalPort()
              << Qt::endl;
        connect(&manager_, &snmp::SnmpManager::Trap, this, [this] { take(); });
    }

private:
    void take()
    {
        const snmp::SnmpMessage &message = manager_.Message;
        traps::ReceivedTrap trap;
        trap.timeText = timeText_();
        trap.sender = manager_.RemoteHost;
        trap.genericTrap = message.GenericTrap;
        trap.code = message.TrapCode;
        for (const snmp::SnmpVariable &variable : message.Variables)
            trap.values.append(variable.Value);
        const snmp::Mib::TrapDefinition *definition =
            trap.genericTrap == traps::kEnterpriseSpecific ? mib_.trapDefinition(trap.code) : nullptr;
        const QByteArray mibText = definition ? traps::entryTextOf(definition->Text) : QByteArray();
        const QByteArray entry = traps::trapLogEntry(trap, definition ? &mibText : nullptr);

        if (json_) {
            QJsonArray bindings;
            for (const snmp::SnmpVariable &variable : message.Variables)
                bindings.append(bindingJson(mib_, variable));
            const QJsonObject line{{QStringLiteral("time"), QDateTime::currentDateTime().toOffsetFromUtc(
                                                                  QDateTime::currentDateTime().offsetFromUtc())
                                                                  .toString(Qt::ISODateWithMs)},
                                   {QStringLiteral("host"), trap.sender},
                                   {QStringLiteral("generic"), trap.genericTrap},
                                   {QStringLiteral("code"), trap.code},
                                   {QStringLiteral("text"), definition ? definition->Text.simplified() : QString()},
                                   {QStringLiteral("bindings"), bindings}};
            out() << QJsonDocument(line).toJson(QJsonDocument::Compact) << Qt::flush;
        } else {
            // The terminal gets plain line ends; the file the log's own.
            out() << QString::fromLatin1(entry).replace(QLatin1String("\r\n"), QLatin1String("\n")) << Qt::flush;
        }
        if (!log_.path().isEmpty()) {
            const traps::FileWriteResult written = log_.append(entry);
            if (!written.ok && written.error != lastLogError_)
                err() << "corvanectl: " << written.error << Qt::endl;
            lastLogError_ = written.ok ? QString() : written.error;
        }
        if (++taken_ == count_) {
            disconnect(&manager_, nullptr, this, nullptr);
            finish(Success);
        }
    }

    quint16 port_ = 162;
    QHostAddress listen_;
    bool json_ = false;
    int count_ = 0;
    int taken_ = 0;
    snmp::Mib mib_;
    snmp::SnmpManager manager_;
    traps::TrapLogFile log_;
    traps::TimeOfDayText timeText_;
    QString lastLogError_;
};

}  // namespace

CommandEntry trapsCommand()
{
    return {QStringLiteral("traps"), QStringLiteral("[--port P] [--listen A] [--log FILE] [--json] [--count N]"),
            QStringLiteral("Listen for traps and print them.\n"
                           "Each as the window's trap log writes it, or as "
                           "one JSON line (time, host, generic, code, text, bindings).\n"
                           "With --log FILE each entry is also appended to FILE, in the format of the window's "
                           "TrapLog.txt. Runs until interrupted, or for N traps with --count. A device sends traps "
                           "only while its trap switch is on: corvanectl set HOST traps=on."),
            {{{"port"}, "P", "The UDP port to listen on (default 162, which needs administrator rights)."},
             {{"listen"}, "A", "The local address to listen on (default 127.0.0.1; 0.0.0.0 takes traps from devices on every network)."},
             {{"log"}, "FILE", "Append every entry to FILE (made when missing)."},
             {{"json"}, "", "Print one JSON object per trap."},
             {{"count"}, "N", "Stop after N traps."}},
            false,
            [](Context &context) { return new TrapsCommand(context); }};
}

}  // namespace ctl
