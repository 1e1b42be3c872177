// The program itself, started as a user starts it but with no display:
// what it answers to --help, --check and a bad option, and that it stops
// with a message instead of crashing when there is nothing to show windows
// on.
// Then the demo ended by a signal, which must leave no temporary folder.

#include <QProcess>
#include <QUdpSocket>
#include <QtTest>
#include <csignal>

class TestAppStartup : public QObject {
    Q_OBJECT

    QUdpSocket takenPort_;  // a trap port another program holds

private slots:
    void answersWithoutWindows_data()
    {
        QVERIFY(takenPort_.state() == QAbstractSocket::BoundState ||
                takenPort_.bind(QHostAddress::LocalHost, 0, QUdpSocket::DontShareAddress));
        const QString taken = QString::number(takenPort_.localPort());
        QUdpSocket probe;  // a port free a moment ago
        QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
        const QString free = QString::number(probe.localPort());
        probe.close();
        const QString bin = QStringLiteral(CORVANE_BINARY_DIR "/bin/");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");  // text standard output contains
        QTest::addColumn<QString>("err");  // text standard error contains
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: corvane-manager [options]" << "";
        QTest::newRow("bad port") << QStringList{"--agent-port", "99999"} << 2 << ""
                                  << "--agent-port needs a port number";
        QTest::newRow("no display") << QStringList{"--agent-port", "16100"} << 1 << ""
                                    << "corvane-manager: no display available (set DISPLAY, or QT_QPA_PLATFORM=offscreen)";
        // A build tree's program: its data and its trap log beside it.
        QTest::newRow("check") << QStringList{"--check", "--trap-address", "127.0.0.1", "--trap-port", free} << 0
                               << QStringLiteral("MIB file: %1CorvaneMIB.mib\nHelp file: %1SNMPHelp.qhc\nTrap log: "
                                                 "%1TrapLog.txt\nTrap port: UDP 127.0.0.1:%2 opens\n")
                                      .arg(bin, free)
                               << "";
        QTest::newRow("check, trap port taken")
            << QStringList{"--check", "--trap-address", "127.0.0.1", "--trap-port", taken} << 1
            << QStringLiteral("Trap port: Trap port(%1) is in use.").arg(taken) << "";
        QTest::newRow("bad trap address") << QStringList{"--trap-address", "localhost"} << 2 << ""
                                          << "--trap-address needs a dotted IPv4 address.";
    }

    void answersWithoutWindows()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CORVANE_BINARY_DIR "/bin/corvane-manager"), arguments);
        if (!program.waitForFinished(20000))
            program.kill();
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString stdErr = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(stdOut.contains(out), qPrintable(stdOut));
        QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
    }

    // --trap-address: the trap port is opened on that address alone, so
    // another program may hold the same port on another address.
    void trapPortOnOneAddress()
    {
        QTemporaryDir temp;
        QUdpSocket probe;
        QVERIFY(probe.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
        const quint16 port = probe.localPort();
        probe.close();
        const auto held = [port](const char *address) {
            QUdpSocket socket;
            return !socket.bind(QHostAddress(QLatin1String(address)), port, QUdpSocket::DontShareAddress);
        };
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CORVANE_BINARY_DIR "/bin/corvane-manager"),
                      {"--settings", temp.filePath("settings.ini"), "--trap-log", temp.filePath("TrapLog.txt"),
                       "--trap-address", "127.0.0.2", "--trap-port", QString::number(port)});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(held("127.0.0.2"), 20000);
        QVERIFY(!held("127.0.0.1"));
        program.terminate();
        if (!program.waitForFinished(20000))
            program.kill();
        QCOMPARE(program.exitCode(), 0);
    }

    void demoCleansUpOnSignal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void demoCleansUpOnSignal()
    {
        QFETCH(int, signal);
        QTemporaryDir temp;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", temp.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CORVANE_BINARY_DIR "/bin/corvane-manager"), {"--demo"});
        QVERIFY(program.waitForStarted());
        const auto demoFolders = [&] {
            return QDir(temp.path()).entryList({"corvane-manager-*"}, QDir::Dirs | QDir::NoDotAndDotDot);
        };
        // The folder holds the demo's settings once the demo is up.
        QTRY_VERIFY_WITH_TIMEOUT(!demoFolders().isEmpty() &&
                                     QFile::exists(temp.filePath(demoFolders().constFirst() + "/demo-settings.ini")),
                                 20000);
        QCOMPARE(::kill(pid_t(program.processId()), signal), 0);
        if (!program.waitForFinished(20000))
            program.kill();
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(demoFolders(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestAppStartup)
#include "test_app_startup.moc"
