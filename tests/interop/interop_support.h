#pragma once
// Running the independent SNMP tools (net-snmp's command-line programs)
// from a test. The tools run as child processes while
// the test's event loop keeps going, so an agent in the test process can
// answer them.

#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace interop {

struct ToolRun {
    bool finished = false;  // false: did not start, or ran past the time limit
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline ToolRun runTool(const QString &program, const QStringList &arguments,
                       const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    ToolRun run;
    QProcess process;
    process.setProcessEnvironment(environment);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    process.start(program, arguments);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(2000);
        return run;
    }
    run.finished = process.exitStatus() == QProcess::NormalExit && process.error() != QProcess::FailedToStart;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// net-snmp with the CORVANE-MIB module and the base modules it imports,
// in a private folder: no system MIB list, no user configuration, nothing
// written outside the folder.
class NetSnmp {
public:
    NetSnmp()
    {
        QStringList sources{QStringLiteral(CORVANE_SOURCE_DIR "/CorvaneMIB.mib")};
        const QDir modules(QStringLiteral(CORVANE_SOURCE_DIR "/tests/mib/modules"));
        for (const QString &name : modules.entryList(QDir::Files))
            sources.append(modules.filePath(name));
        for (const QString &source : sources) {
            if (!folder.isValid() || !QFile::copy(source, folder.filePath(QFileInfo(source).fileName())))
                return;
        }
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("MIBS"), QStringLiteral("CORVANE-MIB"));
        environment.insert(QStringLiteral("MIBDIRS"), folder.path());
        environment.insert(QStringLiteral("SNMPCONFPATH"), folder.path());
        environment.insert(QStringLiteral("SNMP_PERSISTENT_DIR"), folder.path());
        environment.insert(QStringLiteral("HOME"), folder.path());
        ready = true;
    }

    static QString tool(const QString &name) { return QStandardPaths::findExecutable(name); }

    // Runs `name` with the MIB options in front of `arguments`.
    ToolRun run(const QString &name, const QStringList &arguments) const
    {
        return runTool(tool(name), QStringList{"-M", folder.path(), "-m", "CORVANE-MIB"} + arguments, environment);
    }

    bool ready = false;
    QTemporaryDir folder;
    QProcessEnvironment environment;
};

}  // namespace interop
