// Traps from the simulated access point and from net-snmp's snmptrap into
// the console's trap handling: the entry's bytes in the log and its file,
// the file's rules, who is heard, and the log's size rule. (Where the log
// file lives: test_app_startup's --check, and the installed tree's test.)

#include "interop/interop_support.h"
#include "sim/sim_test_support.h"
#include "sim/station_events.h"
#include "snmp/snmp_manager.h"
#include "traps/trap_log_file.h"
#include "traps/time_of_day.h"
#include "traps/trap_reception.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using snmp::Value;
using Settings = QVector<QPair<QString, Value>>;

namespace {

const QHostAddress kLoopback(QStringLiteral("127.0.0.1"));
const QByteArray kSeparator = QByteArray(34, '=') + "\r\n";
const QByteArray kHeader = "Trap received @ 10:15:32 from host 127.0.0.1\r\n";
const QByteArray kBlock = "\r\n" + kSeparator + "\r\n";  // a separator between empty lines
const QByteArray kReset = kHeader + "The device was reset.\r\n" + kBlock;
const QStringList kStation{"trapStationAddress x 020000000001"};
const QByteArray kOlder = "Trap received @ 09:00:00 from host 127.0.0.1\r\nolder entry\r\n";

QByteArray stationLines(const QByteArray &address)
{
    return "Station Mac Address :\r\n" + address + "\r\n" + kSeparator + "\r\n";
}

const QByteArray kReassociated =
    kHeader + "A wireless station reassociated with the access point.\r\n" + stationLines("02 00 00 00 00 01");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

}  // namespace

class TestTrapReception : public QObject {
    Q_OBJECT

    snmp::SnmpManager manager;
    snmp::Mib mib;
    QString agentAddress;
    bool connected = true;
    bool saveTraps = true;
    QStringList statuses;  // "Trap Received" for each burst, and the file's problems
    int marks = 0;
    std::unique_ptr<traps::TrapReception> reception;
    std::unique_ptr<QTemporaryDir> dir;
    QString logPath;
    sim::SimulatedAccessPoint device, secondDevice;  // on 127.0.0.1 and 127.0.0.2
    interop::NetSnmp netSnmp;

    // Each binding is "name type value" as snmptrap takes it; the name is a
    // MIB object (instance .0) or a dotted identifier. The simulator sends
    // type x as the bytes, any other as the text. Waits until the trap has
    // been handled (taken or dropped).
    bool sendTrap(const QString &source, int generic, int code, const QStringList &bindings)
    {
        const int before = reception->loggedTraps() + reception->droppedTraps();
        auto handled = [&] {
            return QTest::qWaitFor([&] { return reception->loggedTraps() + reception->droppedTraps() > before; }, 5000);
        };
        QStringList arguments;
        QVector<snmp::VarBind> binds;
        for (const QString &binding : bindings) {
            const QString name = binding.section(' ', 0, 0), type = binding.section(' ', 1, 1);
            const QString oid = name.startsWith('.') ? name : '.' + mib.OidOf(name) + ".0";
            const QString value = binding.section(' ', 2);  // it may hold blanks
            arguments << oid << type << value;
            binds.append({simtest::oidOf(oid.mid(1)),
                          Value::octets(type == "x" ? QByteArray::fromHex(value.toLatin1()) : value.toLatin1())});
        }
        if (source.endsWith("simulator"))
            return (source == "simulator" ? device : secondDevice).sendTrap(code, binds) && handled();
        const interop::ToolRun run = netSnmp.run(
            "snmptrap", QStringList{"-v1", "-Ir", "-c", "kavrel", QStringLiteral("127.0.0.1:%1").arg(manager.LocalPort()),
                                    ".1.3.6.1.4.1.49170", "127.0.0.1", QString::number(generic), QString::number(code), "100"}
                            + arguments);
        return run.finished && run.exitCode == 0 && handled();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(manager.Open(kLoopback, 0).ok);
        QVERIFY(mib.Load(QCoreApplication::applicationDirPath() + "/CorvaneMIB.mib").ok);
        QVERIFY(device.start(kLoopback, 0));
        device.setTrapDestination(kLoopback, manager.LocalPort());
        QVERIFY(secondDevice.start(QHostAddress(QStringLiteral("127.0.0.2")), 0));
        secondDevice.setTrapDestination(kLoopback, manager.LocalPort());
    }

    void init()
    {
        saveTraps = true;
        agentAddress = QStringLiteral("127.0.0.1");
        connected = true;
        statuses.clear();
        marks = 0;
        reception = std::make_unique<traps::TrapReception>(
            manager, mib, [this] { return connected ? agentAddress : QString(); }, [this] { return saveTraps; });
        connect(reception.get(), &traps::TrapReception::trapMarkShown, this, [this] {
            ++marks;
            statuses << QStringLiteral("Trap Received");
        });
        connect(reception.get(), &traps::TrapReception::fileProblem, this, [this](const QString &why) { statuses << why; });
        reception->setTimeSource([] { return QStringLiteral("10:15:32"); });
        dir = std::make_unique<QTemporaryDir>();
        logPath = dir->filePath(QStringLiteral("TrapLog.txt"));
        reception->setLogFilePath(logPath);
    }

    // net-snmp's snmptrap as an independent sender. The first trap makes the
    // file, which then holds exactly its entry; the log in memory the same.
    void entryBytes_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("generic");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("bindings");
        QTest::addColumn<QByteArray>("entry");
        const QStringList twoSettings{"operChannelID i 11", "operESSID s lab"};
        auto row = [](const char *name, int code, const QStringList &bindings, const QByteArray &entry,
                      const char *source = "snmptrap", int generic = 6) {
            QTest::newRow(name) << source << generic << code << bindings << entry;
        };
        row("code 3", 3, kStation, kReassociated);
        row("code 6, two bindings", 6, twoSettings,
            kHeader + "The device configuration was changed.\r\n" + kBlock + kBlock);
        row("code 7", 7, {"operIPAddress a 192.168.1.20"},
            kHeader + "The IP address of the device was changed.\r\nThe new IP Addres :\r\n192.168.1.20\r\n" + kSeparator
                + "\r\n");
        row("code 8, two bindings", 8, twoSettings, kReset);
        row("unknown code", 12, kStation, kHeader + "Unknown trap code 12\r\n" + stationLines("02 00 00 00 00 01"));
        row("short station value", 1, {"trapStationAddress x 0200AB"},
            kHeader + "A wireless station associated with the access point.\r\n" + stationLines("02 00 AB"));
        row("generic link down", 0, {".1.3.6.1.2.1.2.2.1.1.2 i 2"}, kHeader + "linkDown\r\n", "snmptrap", 2);
        // A device cannot forge lines into the log, nor write bytes that make
        // it binary to text tools or move a terminal's cursor: every C0 and
        // C1 control and DEL is a blank.
        const char controls[] = "operIPAddress s 10.0.0.1\r\nTrap received @ forged\0\x1b[1A\x85\x7f\x9f\x0b\x0c\x1c end";
        row("code 7, control bytes in the value", 7, {QString::fromLatin1(controls, sizeof controls - 1)},
            kHeader + "The IP address of the device was changed.\r\nThe new IP Addres :\r\n"
                + "10.0.0.1  Trap received @ forged  [1A       end\r\n" + kSeparator + "\r\n",
            "simulator");
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
        QTest::newRow("factory defaults") << Settings{{"sysLoadDefaults", Value::integer(1)}}
                                          << kHeader + "The factory default settings were restored.\r\n" + kBlock;
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

    // Only the connected device is heard; a file that cannot be written costs
    // the file its entry (never the log), says why, and never holds the
    // window; a log over 20000 characters is emptied.
    void rules_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("logBefore");  // its length
        QTest::addColumn<QString>("log");
        QTest::addColumn<QByteArray>("file");    // "-": not read
        QTest::addColumn<QStringList>("shown");  // %1: the file's path
        const QString entry = QString::fromLatin1(kReassociated), x(20000, QLatin1Char('x'));
        const QStringList heard{"Trap Received"};
        const auto failed = [](const char *why) { return QStringList{"Trap Received", QStringLiteral("Trap not saved to %1: ") + why}; };
        const QByteArray none("(no file)");
        QTest::newRow("appended to an existing log") << "existing" << 0 << entry << kOlder + kReassociated << heard;
        QTest::newRow("saving off: file untouched") << "existing, saving off" << 0 << entry << kOlder << heard;
        QTest::newRow("log moved away meanwhile: a new file") << "existing, rotated" << 0 << entry << kReassociated << heard;
        QTest::newRow("a folder in the way") << "folder" << 0 << entry << QByteArray("-") << failed("Is a directory");
        QTest::newRow("a pipe with no reader") << "fifo" << 0 << entry << QByteArray("-")
                                               << failed("not a regular file (a pipe or device)");
        // The disk takes the entry's first bytes only: they are cut off again.
        QTest::newRow("no room for the whole entry") << "existing, full" << 0 << entry << kOlder
                                                     << failed("File too large");
        QTest::newRow("another device's") << "another agent" << 0 << QString() << none << QStringList();
        // Each trap named by its own sender, not by an earlier one.
        QTest::newRow("the device at another address") << "second simulator" << 0 << QString(entry).replace("127.0.0.1", "127.0.0.2")
                                                       << QByteArray(kReassociated).replace("127.0.0.1", "127.0.0.2") << heard;
        QTest::newRow("found but not yet read") << "not connected" << 0 << QString() << none << QStringList();
        QTest::newRow("log of 20000 kept") << "" << 20000 << x + entry << kReassociated << heard;
        QTest::newRow("log of 20001 emptied") << "" << 20001 << entry << kReassociated << heard;
    }

    void rules()
    {
        QFETCH(QString, setup);
        QFETCH(int, logBefore);
        QFETCH(QString, log);
        QFETCH(QByteArray, file);
        QFETCH(QStringList, shown);
        if (setup.startsWith("existing")) {
            QFile older(logPath);
            QVERIFY(older.open(QIODevice::WriteOnly) && older.write(kOlder) == kOlder.size());
        }
        if (setup.endsWith("rotated")) {  // the file open is moved away between two traps
            QVERIFY(sendTrap("simulator", 6, 3, kStation));
            QVERIFY(QFile::rename(logPath, logPath + ".1"));
            reception->TrapLog.clear();
            statuses.clear();
            marks = 0;
        }
        if (setup == "folder")
            QVERIFY(QDir().mkpath(logPath));
        if (setup == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(logPath).constData(), 0600), 0);
        saveTraps = !setup.endsWith("saving off");
        if (setup == "another agent" || setup == "second simulator")
            agentAddress = QStringLiteral("127.0.0.2");
        connected = setup != "not connected";
        reception->TrapLog = QString(logBefore, QLatin1Char('x'));
        // A file size limit just past the old log: the system takes a few
        // bytes of the entry and then refuses, as a full disk does.
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        if (setup.endsWith("full")) {
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit = before;
            limit.rlim_cur = rlim_t(kOlder.size() + 10);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        }
        const bool sent = sendTrap(setup == "second simulator" ? setup : QStringLiteral("simulator"), 6, 3, kStation);
        setrlimit(RLIMIT_FSIZE, &before);
        QVERIFY(sent);

        QCOMPARE(reception->TrapLog, log);
        if (file != "-")
            QCOMPARE(readFile(logPath), file);
        QCOMPARE(reception->droppedTraps(), log.isEmpty() ? 1 : 0);
        QCOMPARE(marks, log.isEmpty() ? 0 : 1);
        QCOMPARE(statuses, shown.replaceInStrings("%1", logPath));
    }

    // A flood arrives faster than one trap at a time: every trap the system
    // delivered is in the log file, in order, and the status line hears of
    // the bursts, not of each trap.
    void floodIsLoggedWhole()
    {
        QVERIFY(reception->enlargeReceiveBuffer(2 * 1024 * 1024) > 0);
        constexpr int kTraps = 600;
        for (int i = 0; i < kTraps; ++i)
            QVERIFY(device.sendStationTrap(3, QByteArray::fromHex("020000000001")));
        QTRY_COMPARE(reception->loggedTraps(), kTraps);
        QCOMPARE(readFile(logPath), kReassociated.repeated(kTraps));
        QVERIFY2(statuses.size() < kTraps / 10, qPrintable(QString::number(statuses.size())));
        QCOMPARE(QSet<QString>(statuses.cbegin(), statuses.cend()), QSet<QString>{"Trap Received"});
    }

    // The time of day as the locale writes it, with seconds, no time zone;
    // 24-hour digits where the locale's text is not Latin-1 (the log's).
    void timeOfDay_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("C") << QLocale::c() << QTime(10, 15, 32) << "10:15:32";
        QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << QTime(10, 15, 32) << "10:15:32";
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << QTime(22, 15, 32) << "10:15:32 PM";
        QTest::newRow("el_GR: Greek day halves") << QLocale(QLocale::Greek, QLocale::Greece) << QTime(22, 15, 32)
                                                 << "22:15:32";
        QTest::newRow("ar_EG: Arabic digits") << QLocale(QLocale::Arabic, QLocale::Egypt) << QTime(6, 38, 16)
                                              << "06:38:16";
    }

    void timeOfDay()
    {
        QFETCH(QLocale, locale);
        QFETCH(QTime, time);
        QFETCH(QString, text);
        QCOMPARE(traps::TimeOfDayText{locale}.textFor(time), text);
    }
};

QTEST_GUILESS_MAIN(TestTrapReception)
#include "test_trap_reception.moc"
