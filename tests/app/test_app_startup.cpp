// The program itself, started as a user starts it but with no display:
// what it answers to --help and to a bad option, and that it stops with a
// message instead of crashing when there is nothing to show windows on.
// Then the demo ended by a signal, which must leave no temporary folder.

#include <QProcess>
#include <QtTest>
#include <csignal>

class TestAppStartup : public QObject {
    Q_OBJECT

private slots:
    void answersWithoutWindows_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");  // text standard output contains
        QTest::addColumn<QString>("err");  // text standard error contains
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: corvane-manager [options]" << "";
        QTest::newRow("bad port") << QStringList{"--agent-port", "99999"} << 2 << ""
                                  << "--agent-port needs a port number";
        QTest::newRow("no display") << QStringList{"--agent-port", "16100"} << 1 << ""
                                    << "corvane-manager: no display available (set DISPLAY, or QT_QPA_PLATFORM=offscreen)";
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
