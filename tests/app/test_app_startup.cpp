// The program itself, started as a user starts it but with no display:
// what it answers to --help and to a bad option, and that it stops with a
// message instead of crashing when there is nothing to show windows on.

#include <QProcess>
#include <QtTest>

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
};

QTEST_GUILESS_MAIN(TestAppStartup)
#include "test_app_startup.moc"
