// Traps from the simulated access point and from net-snmp's snmptrap into
// the console's trap handling: the entry's bytes in the log and its file,
// the file's rules, who is heard, and the log's size rule.

#include "config/configuration_store.h"
#include "interop/interop_support.h"
#include "sim/sim_test_support.h"
#include "sim/station_events.h"
#include "snmp/snmp_manager.h"
#include "traps/trap_log_file.h"
#include "traps/time_of_day.h"
#include "traps/trap_reception.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <unistd.h>

using snmp::Value;
using Settings = QVector<QPair<QString, Value>>;

namespace {

const QHostAddress kLoopback(QStringLiteral("127.0.0.1"));
const QByteArray kSeparator = QByteArray(34, '=') + "\r\n";
const QByteArray kHeader = "Trap received @ 10:15:32 from host 127.0.0.1\r\n";

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ipv4Bytes(const QString &dotted)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(QHostAddress(dotted).toIPv4Address(), bytes.data());
    return bytes;
}

QByteArray stationLines(const QByteArray &address)
{
    return "Station Mac Address :\r\n" + address + "\r\n" + kSeparator + "\r\n";
}

}  // namespace

class TestTrapReception : public QObject {
    Q_OBJECT

    snmp::SnmpManager manager;
    snmp::Mib mib;
    QString agentAddress;
    bool connected = true;
    QStringList statuses;
    int marks = 0;
    std::unique_ptr<traps::TrapReception> reception;
    std::unique_ptr<QTemporaryDir> dir;
    QString logPath;
    sim::SimulatedAccessPoint device;
    interop::NetSnmp netSnmp;

    // "name type value" per binding, as snmptrap takes them; the name is a
    // MIB object (instance .0) or a dotted identifier.
    QStringList wireArguments(const QStringList &bindings) const
    {
        QStringList arguments;
        for (const QString &binding : bindings) {
            const QStringList parts = binding.split(QLatin1Char(' '));
            const QString oid = parts[0].startsWith('.') ? parts[0] : '.' + mib.OidOf(parts[0]) + ".0";
            arguments << oid << parts[1] << binding.section(QLatin1Char(' '), 2);  // the value may hold blanks
        }
        return arguments;
    }

    QVector<snmp::VarBind> varBinds(const QStringList &bindings) const
    {
        QVector<snmp::VarBind> binds;
        const QStringList arguments = wireArguments(bindings);
        for (int i = 0; i + 2 < arguments.size(); i += 3) {
            const QString &type = arguments[i + 1];
            const QString &text = arguments[i + 2];
            Value value = type == "x"   ? Value::octets(QByteArray::fromHex(text.toLatin1()))
                          : type == "i" ? Value::integer(text.toInt())
                          : type == "a" ? Value::ipAddress(ipv4Bytes(text))
                                        : Value::octets(text.toLatin1());
            binds.append({simtest::oidOf(arguments[i].mid(1)), value});
        }
        return binds;
    }

    // Waits until the trap has been handled (taken or dropped).
    bool handled(int before) const
    {
        return QTest::qWaitFor([&] { return reception->loggedTraps() + reception->droppedTraps() > before; }, 5000);
    }

    bool sendTrap(const QString &source, int generic, int code, const QStringList &bindings)
    {
        const int before = reception->loggedTraps() + reception->droppedTraps();
        if (source == "snmptrap") {
            if (interop::NetSnmp::tool(QStringLiteral("snmptrap")).isEmpty())
                return false;
            const QString destination = QStringLiteral("127.0.0.1:%1").arg(manager.LocalPort());
            const interop::ToolRun run = netSnmp.run(
                "snmptrap", QStringList{"-v1", "-Ir", "-c", "kavrel", destination, ".1.3.6.1.4.1.49170", "127.0.0.1",
                                        QString::number(generic), QString::number(code), "100"}
                                + wireArguments(bindings));
            if (!run.finished || run.exitCode != 0)
                return false;
        } else if (!device.sendTrap(code, varBinds(bindings))) {
            return false;
        }
        return handled(before);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(manager.Open(kLoopback, 0).ok);
        QVERIFY(mib.Load(QStringLiteral(CORVANE_BINARY_DIR "/bin/CorvaneMIB.mib")).ok);
        QVERIFY(device.start(kLoopback, 0));
        device.setTrapDestination(kLoopback, manager.LocalPort());
    }

    void init()
    {
        config::resetStore();
        config::store().saveTraps = true;
        agentAddress = QStringLiteral("127.0.0.1");
        connected = true;
        statuses.clear();
        marks = 0;
        reception = std::make_unique<traps::TrapReception>(manager, mib, agentAddress, connected,
                                                           [this](const QString &text) { statuses << text; });
        connect(reception.get(), &traps::TrapReception::trapMarkShown, this, [this] { ++marks; });
        reception->setTimeSource([] { return QStringLiteral("10:15:32"); });
        dir = std::make_unique<QTemporaryDir>();
        logPath = dir->filePath(QStringLiteral("TrapLog.txt"));
        reception->setLogFilePath(logPath);
    }

    // The first trap makes the file, which then holds exactly its entry;
    // the log in memory holds the same text.
    void entryBytes_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("generic");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("bindings");
        QTest::addColumn<QByteArray>("entry");

        const QByteArray reassociated = kHeader + "A wireless station reassociated with the access point.\r\n"
                                        + stationLines("02 00 00 00 00 01");
        const QByteArray changed = kHeader + "The device configuration was changed.\r\n" + "\r\n" + kSeparator + "\r\n"
                                   + "\r\n" + kSeparator + "\r\n";
        const QByteArray newAddress = kHeader + "The IP address of the device was changed.\r\n"
                                      + "The new IP Addres :\r\n192.168.1.20\r\n" + kSeparator + "\r\n";
        const QByteArray reset = kHeader + "The device was reset.\r\n" + "\r\n" + kSeparator + "\r\n";
        const QStringList station{"trapStationAddress x 020000000001"};
        const QStringList twoSettings{"operChannelID i 11", "operESSID s lab"};
        const QStringList address{"operIPAddress a 192.168.1.20"};
        for (const QString source : {"simulator", "snmptrap"}) {
            const QByteArray s = source.toLatin1();
            QTest::newRow(s + ", code 3") << source << 6 << 3 << station << reassociated;
            QTest::newRow(s + ", code 6, two bindings") << source << 6 << 6 << twoSettings << changed;
            QTest::newRow(s + ", code 7") << source << 6 << 7 << address << newAddress;
            QTest::newRow(s + ", code 8, two bindings") << source << 6 << 8 << twoSettings << reset;
            QTest::newRow(s + ", unknown code") << source << 6 << 12 << station
                                               << kHeader + "Unknown trap code 12\r\n" + stationLines("02 00 00 00 00 01");
        }
        QTest::newRow("short station value")
            << "snmptrap" << 6 << 1 << QStringList{"trapStationAddress x 0200AB"}
            << kHeader + "A wireless station associated with the access point.\r\n" + stationLines("02 00 AB");
        // A device cannot forge lines of its own into the log.
        QTest::newRow("code 7, line breaks in the value")
            << "simulator" << 6 << 7 << QStringList{"operIPAddress s 10.0.0.1\r\nTrap received @ forged"}
            << kHeader + "The IP address of the device was changed.\r\nThe new IP Addres :\r\n"
                   + "10.0.0.1  Trap received @ forged\r\n" + kSeparator + "\r\n";
        QTest::newRow("generic link down") << "snmptrap" << 2 << 0 << QStringList{".1.3.6.1.2.1.2.2.1.1.2 i 2"}
                                           << kHeader + "linkDown\r\n";
    }

    void entryBytes()
    {
        QFETCH(QString, source);
        QFETCH(int, generic);
        QFETCH(int, code);
        QFETCH(QStringList, bindings);
        QFETCH(QByteArray, entry);
        if (source == "snmptrap" && interop::NetSnmp::tool(QStringLiteral("snmptrap")).isEmpty())
            QSKIP("net-snmp's snmptrap is not installed (Debian package snmp)");
        QVERIFY(!QFile::exists(logPath));
        QVERIFY(sendTrap(source, generic, code, bindings));
        QCOMPARE(readFile(logPath), entry);
        QCOMPARE(reception->TrapLog, QString::fromLatin1(entry));
        QCOMPARE(statuses, QStringList{"Trap Received"});
        QCOMPARE(marks, 1);
    }

    // What the device sends for what happens to it, with our MIB's codes
    // and bindings; nothing once its trap switch is off.
    void deviceEvents_data()
    {
        QTest::addColumn<Settings>("set");
        QTest::addColumn<QByteArray>("entries");
        QTest::newRow("address changed")
            << Settings{{"operIPAddress", Value::ipAddress(QByteArray::fromHex("7F000009"))}}
            << kHeader + "The IP address of the device was changed.\r\nThe new IP Addres :\r\n127.0.0.9\r\n" + kSeparator
                   + "\r\n";
        QTest::newRow("factory defaults")
            << Settings{{"sysLoadDefaults", Value::integer(1)}}
            << kHeader + "The factory default settings were restored.\r\n\r\n" + kSeparator + "\r\n";
        QTest::newRow("traps switched off") << Settings{{"sysTrapSwitch", Value::integer(2)}}
                                            << QByteArray("(no file)");
    }

    void deviceEvents()
    {
        QFETCH(Settings, set);
        QFETCH(QByteArray, entries);
        device.restoreFactoryValues();
        device.eventTraps = true;
        QVERIFY(device.handleRequest(simtest::setRequest(device, set)));
        sim::StationEventSchedule stations(device);
        if (entries == "(no file)")
            QVERIFY(!stations.sendNext());  // station events are held back too
        QTest::qWait(entries == "(no file)" ? 200 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(readFile(logPath), entries, 5000);
        device.eventTraps = false;
        device.restoreFactoryValues();
    }

    void fileRules_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("saveTraps");
        QTest::addColumn<bool>("fileWritten");
        QTest::newRow("appended to an existing log") << "existing" << true << true;
        QTest::newRow("saving off: file untouched") << "existing" << false << false;
        QTest::newRow("read-only file") << "read-only" << true << false;
        QTest::newRow("a folder in the way") << "folder" << true << false;
        QTest::newRow("no room on the disk") << "full" << true << false;
    }

    void fileRules()
    {
        QFETCH(QString, setup);
        QFETCH(bool, saveTraps);
        QFETCH(bool, fileWritten);
        const QByteArray before = "Trap received @ 09:00:00 from host 127.0.0.1\r\nolder entry\r\n";
        if (setup == "existing" || setup == "read-only")
            QVERIFY(writeFile(logPath, before));
        if (setup == "read-only") {
            if (geteuid() == 0)
                QSKIP("root writes to read-only files");
            QVERIFY(QFile::setPermissions(logPath, QFileDevice::ReadOwner));
        }
        if (setup == "folder")
            QVERIFY(QDir().mkpath(logPath));
        if (setup == "full")
            reception->setLogFilePath(logPath = QStringLiteral("/dev/full"));
        config::store().saveTraps = saveTraps;

        QVERIFY(sendTrap("simulator", 6, 3, {"trapStationAddress x 020000000001"}));
        const QByteArray entry =
            kHeader + "A wireless station reassociated with the access point.\r\n" + stationLines("02 00 00 00 00 01");
        QCOMPARE(reception->TrapLog, QString::fromLatin1(entry));  // nothing lost from memory
        if (setup == "existing" || setup == "read-only")
            QCOMPARE(readFile(logPath), fileWritten ? before + entry : before);
        const bool failed = saveTraps && !fileWritten;
        QCOMPARE(statuses.size(), failed ? 2 : 1);
        QCOMPARE(statuses.first(), QStringLiteral("Trap Received"));
        if (failed)
            QVERIFY2(statuses.last().startsWith("Trap not saved to " + logPath + ": "), qPrintable(statuses.last()));
    }

    // Only the connected device is heard.
    void dropped_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("agent");
        QTest::addColumn<bool>("isConnected");
        QTest::newRow("another loopback address") << "127.0.0.2" << "127.0.0.1" << true;
        QTest::newRow("before any connect") << "127.0.0.1" << "" << false;
        QTest::newRow("found but not yet read") << "127.0.0.1" << "127.0.0.1" << false;
    }

    void dropped()
    {
        QFETCH(QString, from);
        QFETCH(QString, agent);
        QFETCH(bool, isConnected);
        agentAddress = agent;
        connected = isConnected;
        sim::SimulatedAccessPoint other;
        QVERIFY(other.start(QHostAddress(from), 0));
        other.setTrapDestination(kLoopback, manager.LocalPort());
        QVERIFY(other.sendStationTrap(1, QByteArray::fromHex("020000000001")));
        QVERIFY(handled(0));
        QCOMPARE(reception->droppedTraps(), 1);
        QCOMPARE(reception->TrapLog, QString());
        QVERIFY(!QFile::exists(logPath));
        QCOMPARE(statuses, QStringList());
        QCOMPARE(marks, 0);
    }

    // Longer than 20000 characters: emptied before the entry goes in.
    void logSizeLimit_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("kept");
        QTest::newRow("20000 kept") << 20000 << 20000;
        QTest::newRow("20001 emptied") << 20001 << 0;
    }

    void logSizeLimit()
    {
        QFETCH(int, length);
        QFETCH(int, kept);
        reception->TrapLog = QString(length, QLatin1Char('x'));
        QVERIFY(sendTrap("simulator", 6, 8, {}));
        const QString entry = QString::fromLatin1(kHeader + "The device was reset.\r\n\r\n" + kSeparator + "\r\n");
        QCOMPARE(reception->TrapLog, QString(kept, QLatin1Char('x')) + entry);
    }

    // The time of day as the locale writes it, with seconds, no time zone.
    void timeOfDay()
    {
        for (const auto &[locale, text] : {std::pair{"C", "10:15:32"}, {"de_DE", "10:15:32"}, {"en_US", "10:15:32 AM"}})
            QCOMPARE(traps::TimeOfDayText{QLocale(QLatin1String(locale))}.textFor(QTime(10, 15, 32)), QLatin1String(text));
    }

    // Beside the program when its folder can be written, else the user's.
    void logLocation()
    {
        const QString program = dir->filePath("program"), userData = dir->filePath("user");
        QCOMPARE(traps::trapLogPathFor(program, userData), userData + "/TrapLog.txt");  // not there
        QVERIFY(QDir().mkpath(program));
        QCOMPARE(traps::trapLogPathFor(program, userData), program + "/TrapLog.txt");
    }
};

QTEST_GUILESS_MAIN(TestTrapReception)
#include "test_trap_reception.moc"
