// corvanectl against simulated devices: each command's output and exit
// status, what reaches the devices (nothing before the input is checked,
// no SET on a dry run), backup and restore, scans of ranges, traps, and
// net-snmp reading back what the tool wrote.

#include "ctl_fixture.h"
#include "interop/interop_support.h"

#include "config/settings_file.h"
#include "config/wep_keys.h"
#include "traps/trap_entry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QProcess>
#include <QUdpSocket>

using snmp::Value;

namespace {

QJsonObject settingsShown(CtlFixture &f, int device)
{
    const CtlRun shown = f.run({"show", f.host(device), "--json"});
    if (shown.code != 0)
        qFatal("show failed: %s", qPrintable(shown.err));
    return QJsonDocument::fromJson(shown.out.toUtf8()).array().first().toObject().value("settings").toObject();
}

quint16 freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

}  // namespace

class TestCorvanectl : public QObject {
    Q_OBJECT
private slots:
    // Exit status, output and what was sent, one row per kind of outcome.
    // "H1".."H3" stand for the devices, "SILENT" for an address nobody answers on.
    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");  // contained in stdout
        QTest::addColumn<QString>("err");  // contained in stderr
        QTest::addColumn<int>("requests");  // reaching the devices; -1: any
        QTest::newRow("overall help") << QStringList{"--help"} << "" << 0 << "restore-defaults" << "" << 0;
        QTest::newRow("no command") << QStringList{} << "" << 2 << "" << "Usage: corvanectl COMMAND" << 0;
        QTest::newRow("unknown command") << QStringList{"frob"} << "" << 2 << "" << "unknown command" << 0;
        QTest::newRow("version") << QStringList{"--version"} << "" << 0 << "corvanectl 1.0.0" << "" << 0;
        QTest::newRow("command help") << QStringList{"set", "--help"} << "" << 0 << "bridge-mode" << "" << 0;
        QTest::newRow("unknown option") << QStringList{"show", "H1", "--frob"} << "" << 2 << "" << "Unknown option 'frob'; see" << 0;
        QTest::newRow("get") << QStringList{"get", "H1", "channel", "wep"} << "" << 0 << "channel=6\nwep=off\n" << ""
                             << -1;
        QTest::newRow("get two hosts") << QStringList{"get", "H1", "H2", "essid"} << "" << 0
                                       << "127.0.3.1 essid=corvane\n127.0.3.2 essid=corvane\n" << "" << -1;
        QTest::newRow("get unknown field") << QStringList{"get", "H1", "chanel"} << "" << 2 << "" << "chanel" << 0;
        QTest::newRow("set value out of range") << QStringList{"set", "H1", "H2", "channel=15"} << "" << 2 << ""
                                                << "channel=15 is not accepted" << 0;
        QTest::newRow("set unknown setting") << QStringList{"set", "H1", "colour=red"} << "" << 2 << "" << "colour" << 0;
        QTest::newRow("no answer") << QStringList{"show", "SILENT"} << "" << 3 << "" << "127.0.3.9: no answer" << 0;
        QTest::newRow("some hosts failed") << QStringList{"get", "H1", "SILENT", "channel"} << "" << 6
                                           << "127.0.3.1 channel=6" << "127.0.3.9: no answer" << -1;
        QTest::newRow("refused by the device") << QStringList{"show", "H1"} << "refuse" << 4 << ""
                                               << "refused by the device: genErr" << -1;
        QTest::newRow("wrong community") << QStringList{"show", "H1", "--community", "other"} << "" << 3 << ""
                                         << "can be seen by other users" << -1;
        QTest::newRow("community file missing") << QStringList{"show", "H1", "--community-file", "/nonexistent/c"}
                                                << "" << 5 << "" << "/nonexistent/c" << 0;
        QTest::newRow("range too large") << QStringList{"scan", "127.0.0.0/15"} << "" << 2 << "" << "a /16" << 0;
        QTest::newRow("off this machine") << QStringList{"show", "192.0.2.1"} << "" << 1 << "" << "192.0.2.1" << 0;
        QTest::newRow("reset without a terminal") << QStringList{"reset", "H1"} << "" << 2 << "" << "--yes" << 0;
        QTest::newRow("reset") << QStringList{"reset", "H1", "--yes"} << "" << 0
                               << "127.0.3.1: Reset command issued....\n" << "" << 1;
        QTest::newRow("restore defaults refused") << QStringList{"restore-defaults", "H2", "--yes"} << "reset" << 4
                                                  << "" << "Error - Restore Defaults command not issued..." << 1;
        QTest::newRow("bssid on an access point") << QStringList{"set", "H1", "bssid=001122334455"} << "" << 0
                                                  << "bssid is not sent: the device uses it only in bridge mode" << "" << -1;
        QTest::newRow("wep keys") << QStringList{"wep-keys", "Corvane phrase"} << "" << 0 << "wep-key1=" << "" << 0;
    }

    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, fault);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(int, requests);
        CtlFixture f;
        if (fault == "refuse")
            f.ap(0).faults.refusedObjects.insert("sysDeviceInfo", snmp::error_status::GenErr);
        else if (fault == "reset")
            f.ap(1).faults.refusedObjects.insert("sysLoadDefaults", snmp::error_status::GenErr);
        for (QString &argument : arguments) {
            argument.replace("SILENT", "127.0.3.9");
            for (int i = 0; i < CtlFixture::kDevices; ++i)
                argument.replace(QStringLiteral("H%1").arg(i + 1), f.host(i));
        }
        const CtlRun run = f.run(arguments);
        QVERIFY2(run.out.contains(out), qPrintable(run.out));
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        QCOMPARE(run.code, code);
        if (requests >= 0)
            QCOMPARE(f.requestsReceived(), requests);
        if (arguments.value(0) == "wep-keys") {
            config::GenerateWepKeys("Corvane phrase");
            QCOMPARE(run.out, QStringLiteral("wep-key1=%1\nwep-key2=%2\nwep-key3=%3\nwep-key4=%4\n")
                                  .arg(config::GeneratedWepKey1, config::GeneratedWepKey2, config::GeneratedWepKey3,
                                       config::GeneratedWepKey4));
        }
    }

    // set changes what it names on every device given, and only there;
    // --dry-run reads, prints the SETs and sends none.
    void setAndDryRun()
    {
        CtlFixture f;
        const QStringList change{"set", f.host(0), f.host(1), "channel=11", "essid=lab", "traps=off"};
        CtlRun run = f.run(change + QStringList{"--dry-run"});
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.contains("127.0.3.2: channel: 6 -> 11\n"), qPrintable(run.out));
        QVERIFY(run.out.contains("  SET operChannelID.0 INTEGER 0B (11)\n  SET operESSIDLength.0 INTEGER 03 (3)\n"
                                 "  SET operESSID.0 OCTET STRING 6C 61 62 (\"lab\")\n"));
        QVERIFY(run.out.contains("  SET sysTrapSwitch.0 INTEGER 02 (2)\n"));
        QVERIFY(run.out.endsWith("  SET sysReset.0 INTEGER 01 (1)\n"));
        QCOMPARE(f.setsReceived(), 0);

        run = f.run(change);
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.contains("127.0.3.1: SNMP traps Disabled....\n127.0.3.1: Download complete successfully\n"),
                 qPrintable(run.out));
        for (int i = 0; i < CtlFixture::kDevices; ++i) {
            QCOMPARE(f.ap(i).value("operChannelID"), Value::integer(i < 2 ? 11 : 6));
            QCOMPARE(f.ap(i).value("sysTrapSwitch"), Value::integer(i < 2 ? 2 : 1));
        }
        // Nothing left to change: nothing sent.
        const int sets = f.setsReceived();
        run = f.run(change);
        QVERIFY(run.out.contains("127.0.3.1: nothing to change\n"));
        QCOMPARE(f.setsReceived(), sets);
    }

    // A device's backup restored onto a factory device: the same settings
    // but the device's own addresses; net-snmp reads back what was written.
    void backupThenRestore()
    {
        CtlFixture f;
        QTemporaryDir dir;
        QCOMPARE(f.run({"set", f.host(0), "essid=lab net", "wep-key2=a1b2c3d4e5", "wep=on", "preamble=short",
                        "bridge-mode=bridge", "bssid=02:00:00:00:CA:FE", "ip-mask=255.255.0.0"})
                     .code,
                 0);
        CtlRun run = f.run({"backup", f.host(0), "--dir", dir.path()});
        QCOMPARE(run.code, 0);
        const QString file = dir.filePath("127.0.3.1.json");
        QCOMPARE(run.out, "127.0.3.1: saved to " + file + "\n");
        QCOMPARE(int(QFile::permissions(file) & (QFileDevice::ReadGroup | QFileDevice::ReadOther)), 0);  // WEP keys inside

        // The differences, then the question; declined: nothing sent.
        const int setsBefore = f.setsReceived();
        run = f.run({"restore", file, f.host(1)}, {"n"}, true);
        QCOMPARE(run.code, 1);
        QVERIFY(run.err.contains("Download these changes to 1 device(s)? [y/N]"));
        QVERIFY2(run.out.contains("127.0.3.2: essid: corvane -> lab net\n") && !run.out.contains("ip-address"),
                 qPrintable(run.out));
        QCOMPARE(f.setsReceived(), setsBefore);
        run = f.run({"restore", file, f.host(1)}, {"y"}, true);
        QCOMPARE(run.code, 0);
        QVERIFY(f.setsReceived() > setsBefore);

        QJsonObject original = settingsShown(f, 0);
        QJsonObject clone = settingsShown(f, 1);
        QCOMPARE(clone.value("ip-address").toString(), f.host(1));
        original.remove("ip-address");
        clone.remove("ip-address");
        QCOMPARE(clone, original);

        interop::NetSnmp netSnmp;
        if (interop::NetSnmp::tool("snmpget").isEmpty())
            QSKIP("net-snmp's command-line tools are not installed (Debian package snmp)");
        // What set wrote on the first device, what restore wrote on the second.
        for (int i = 0; i < 2; ++i) {
            const interop::ToolRun get = netSnmp.run(
                "snmpget", {"-v1", "-c", "kavrel", "-r", "1", "-t", "2", "-Le", "-Ov",
                            QStringLiteral("%1:%2").arg(f.host(i)).arg(f.port), "CORVANE-MIB::operESSID.0",
                            "CORVANE-MIB::defaultWEPKey2.0", "CORVANE-MIB::bridgeRemoteBridgeBSSID.0",
                            "CORVANE-MIB::operIPMask.0", "CORVANE-MIB::operIPAddress.0"});
            QVERIFY2(get.finished && get.exitCode == 0, get.err.constData());
            QCOMPARE(QString::fromLatin1(get.out).split('\n', Qt::SkipEmptyParts),
                     (QStringList{"STRING: \"lab net\"", "Hex-STRING: A1 B2 C3 D4 E5 ", "Hex-STRING: 02 00 00 00 CA FE ",
                                  "IpAddress: 255.255.0.0", "IpAddress: " + f.host(i)}));
        }
    }

    // A file that is not what it should be: refused, and not a datagram sent.
    void badBackupRefused_data()
    {
        QTest::addColumn<QByteArray>("replace");
        QTest::addColumn<QByteArray>("with");
        QTest::addColumn<QString>("error");
        QTest::newRow("corrupt") << QByteArray("\"settings\"") << QByteArray("\"settings\" {") << "not JSON";
        QTest::newRow("foreign") << QByteArray("corvane-settings") << QByteArray("other-settings")
                                 << "not a settings file of this program";
        QTest::newRow("newer") << QByteArray("\"format\": 1") << QByteArray("\"format\": 7") << "newer format (7)";
        QTest::newRow("unknown field") << QByteArray("\"wep\"") << QByteArray("\"wpa\"") << "unknown setting \"wpa\"";
        QTest::newRow("invalid value") << QByteArray("\"channel\": \"6\"") << QByteArray("\"channel\": \"20\"")
                                       << "channel in the settings file: \"20\" is not accepted";
    }

    void badBackupRefused()
    {
        QFETCH(QByteArray, replace);
        QFETCH(QByteArray, with);
        QFETCH(QString, error);
        CtlFixture f;
        QTemporaryDir dir;
        QFile file(dir.filePath("device.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        config::SettingsFile settings;
        settings.saved = QDateTime::currentDateTime();
        settings.settings = {{"channel", "6"}, {"wep", "off"}};
        file.write(config::writeSettingsFile(settings).replace(replace, with));
        file.close();
        const CtlRun run = f.run({"restore", file.fileName(), f.host(0), "--yes"});
        QCOMPARE(run.code, 5);
        QVERIFY2(run.err.contains(error) && run.err.contains("nothing sent"), qPrintable(run.err));
        QCOMPARE(f.requestsReceived(), 0);
    }

    // A range finds exactly the devices present; the scan address takes
    // every device that answers there; nothing found is "no answer".
    void scans()
    {
        CtlFixture f;
        CtlRun run = f.run({"scan", "127.0.3.0/29"});
        QCOMPARE(run.code, 0);
        QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), CtlFixture::kDevices);
        for (int i = 0; i < CtlFixture::kDevices; ++i)
            QCOMPARE(lines[i], f.host(i) + "\tCorvane Access Point Firmware V2.1.07\t02C04A102B3C\tcorvane\t6");
        QCOMPARE(run.err, QString());

        run = f.run({"scan", "--scan-address", f.host(1)});
        QCOMPARE(run.code, 0);
        QVERIFY(run.out.startsWith(f.host(1) + "\t"));
        QCOMPARE(f.run({"scan", "127.0.3.4-127.0.3.6"}).code, 3);
    }

    void stats()
    {
        CtlFixture f;
        QByteArray counters(88, '\0');
        counters[0] = 7;  // unicastPacketsTx: 263, least significant byte first
        counters[1] = 1;
        f.ap(0).setValue("wirelessStatistics", Value::octets(counters));
        CtlRun run = f.run({"stats", f.host(0), "--csv"});
        QCOMPARE(run.code, 0);
        QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith("host,wireless.unicastPacketsTx,wireless.broadcastPacketsTx,"));
        QVERIFY(lines[1].startsWith("127.0.3.1,263,0,"));
        QCOMPARE(lines[0].count(','), lines[1].count(','));

        // Rates: the counters of the second reading less the first, per second.
        run = f.run({"stats", f.host(0), "--watch", "1", "--count", "1", "--csv"});
        QCOMPARE(run.code, 0);
        lines = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[1].contains(",127.0.3.1,0.0,0.0,"), qPrintable(lines[1]));
    }

    // Each trap as the trap log's entry, on the terminal and in the log
    // file (the window's format), or as a JSON line.
    void traps()
    {
        CtlFixture f;
        QTemporaryDir dir;
        const QString log = dir.filePath("TrapLog.txt");
        const quint16 port = freeUdpPort();
        f.ap(0).setTrapDestination(QHostAddress::LocalHost, port);
        QTimer::singleShot(200, [&] { f.ap(0).sendStationTrap(3, QByteArray::fromHex("020000000001")); });
        CtlRun run = f.run({"traps", "--port", QString::number(port), "--log", log, "--count", "1"});
        QCOMPARE(run.code, 0);
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray entry = file.readAll();
        QCOMPARE(run.out.toLatin1(), QByteArray(entry).replace("\r\n", "\n"));
        const QByteArray time = entry.mid(16, entry.indexOf(" from host") - 16);
        const snmp::Mib::TrapDefinition *definition = f.ap(0).mib().trapDefinition(3);
        QVERIFY(definition);
        const QByteArray text = traps::entryTextOf(definition->Text);
        QCOMPARE(entry, traps::trapLogEntry({QString::fromLatin1(time), "127.0.3.1", 6, 3, {QByteArray::fromHex("020000000001")}},
                                            &text));

        QTimer::singleShot(200, [&] { f.ap(0).sendStationTrap(3, QByteArray::fromHex("020000000002")); });
        run = f.run({"traps", "--port", QString::number(port), "--json", "--count", "1"});
        const QJsonObject line = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(line.value("host").toString(), "127.0.3.1");
        QCOMPARE(line.value("code").toInt(), 3);
        QCOMPARE(line.value("bindings").toArray().first().toObject().value("hex").toString(), "020000000002");

        // A port another program holds: said so, exit status 1.
        QUdpSocket holder;
        QVERIFY(holder.bind(QHostAddress::LocalHost, port));
        run = f.run({"traps", "--port", QString::number(port)});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("Trap port(%1) is in use").arg(port)), qPrintable(run.err));
    }

    // The program itself: standard input is no terminal, so a restore
    // without --yes is refused before anything is read.
    void programRefusesToAskWithoutTerminal()
    {
        CtlFixture f;
        QTemporaryDir dir;
        QCOMPARE(f.run({"backup", f.host(0), "--dir", dir.path()}).code, 0);
        const int requests = f.requestsReceived();
        const interop::ToolRun run = interop::runTool(
            QStringLiteral(CORVANE_BINARY_DIR "/bin/corvanectl"),
            {"restore", dir.filePath("127.0.3.1.json"), f.host(1), "--port", QString::number(f.port)});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains("give --yes"), run.err.constData());
        QCOMPARE(f.requestsReceived(), requests);
    }
};

QTEST_GUILESS_MAIN(TestCorvanectl)
#include "test_corvanectl.moc"
