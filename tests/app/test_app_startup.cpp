// The program's entry: command-line options, the display check, the
// placement arithmetic, and the executable's own answers to --help,
// --version, bad options and a missing display.

#include "app/command_line_options.h"
#include "app/display_check.h"
#include "app/window_placement.h"

#include <QHash>
#include <QProcess>
#include <QtTest>

namespace {

const QString kProgram = QStringLiteral(CORVANE_BINARY_DIR "/bin/corvane-manager");

// The program's environment without any display or platform choice.
QProcessEnvironment environmentWithoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    return environment;
}

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runProgram(const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(environmentWithoutDisplay());
    process.start(kProgram, arguments);
    Run run;
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

}  // namespace

class TestAppStartup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void options_data();
    void options();
    void display_data();
    void display();
    void twipsConversion_data();
    void twipsConversion();
    void programAnswers_data();
    void programAnswers();
};

void TestAppStartup::initTestCase()
{
    QCoreApplication::setApplicationName("corvane-manager");
    QCoreApplication::setApplicationVersion("1.0.0");
}

void TestAppStartup::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");  // CommandLineResult::Action
    QTest::addColumn<int>("agentPort");
    QTest::addColumn<int>("trapPort");
    QTest::addColumn<QString>("scanAddress");
    QTest::addColumn<QString>("settingsFile");
    QTest::addColumn<bool>("demo");
    using A = app::CommandLineResult::Action;
    const int run = int(A::Run);
    const int fail = int(A::Fail);
    QTest::newRow("defaults") << QStringList{} << run << 161 << 162 << "255.255.255.255" << "" << false;
    QTest::newRow("all moved") << QStringList{"--agent-port", "16100", "--trap-port=16200", "--scan-address",
                                              "127.0.0.1", "--settings", "/tmp/x.ini"}
                               << run << 16100 << 16200 << "127.0.0.1" << "/tmp/x.ini" << false;
    QTest::newRow("demo") << QStringList{"--demo"} << run << 161 << 162 << "255.255.255.255" << "" << true;
    QTest::newRow("help") << QStringList{"--help"} << int(A::ShowHelp) << 161 << 162 << "255.255.255.255" << ""
                          << false;
    QTest::newRow("version") << QStringList{"--version"} << int(A::ShowVersion) << 161 << 162 << "255.255.255.255"
                             << "" << false;
    QTest::newRow("port 0") << QStringList{"--agent-port", "0"} << fail << 0 << 0 << "" << "" << false;
    QTest::newRow("port too big") << QStringList{"--trap-port", "65536"} << fail << 0 << 0 << "" << "" << false;
    QTest::newRow("port not a number") << QStringList{"--agent-port", "16x"} << fail << 0 << 0 << "" << "" << false;
    QTest::newRow("host name as scan") << QStringList{"--scan-address", "localhost"} << fail << 0 << 0 << "" << ""
                                       << false;
    QTest::newRow("empty settings") << QStringList{"--settings", ""} << fail << 0 << 0 << "" << "" << false;
    QTest::newRow("unknown option") << QStringList{"--agent", "1"} << fail << 0 << 0 << "" << "" << false;
}

void TestAppStartup::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    arguments.prepend("corvane-manager");
    const app::CommandLineResult result = app::parseCommandLine(arguments);
    QCOMPARE(int(result.action), action);
    if (result.action == app::CommandLineResult::Action::Fail) {
        QVERIFY(!result.text.isEmpty());
        return;
    }
    if (result.action != app::CommandLineResult::Action::Run)
        return;
    QFETCH(int, agentPort);
    QFETCH(int, trapPort);
    QFETCH(QString, scanAddress);
    QFETCH(QString, settingsFile);
    QFETCH(bool, demo);
    QCOMPARE(int(result.options.session.agentPort), agentPort);
    QCOMPARE(int(result.options.session.trapPort), trapPort);
    QCOMPARE(result.options.session.scanAddress, scanAddress);
    QCOMPARE(result.options.settingsFile, settingsFile);
    QCOMPARE(result.options.demo, demo);
}

void TestAppStartup::display_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("available");
    QTest::newRow("nothing") << "" << "" << "" << QStringList{} << false;
    QTest::newRow("X11") << ":0" << "" << "" << QStringList{} << true;
    QTest::newRow("Wayland") << "" << "wayland-0" << "" << QStringList{} << true;
    QTest::newRow("offscreen") << "" << "" << "offscreen" << QStringList{} << true;
    QTest::newRow("xcb without X11") << "" << "wayland-0" << "xcb" << QStringList{} << false;
    QTest::newRow("fall-back list") << ":1" << "" << "wayland;xcb" << QStringList{} << true;
    QTest::newRow("fall-back list, none") << "" << "" << "wayland;xcb" << QStringList{} << false;
    QTest::newRow("-platform argument") << "" << "" << "xcb" << QStringList{"-platform", "offscreen"} << true;
}

void TestAppStartup::display()
{
    QFETCH(QString, display);
    QFETCH(QString, wayland);
    QFETCH(QString, platform);
    QFETCH(QStringList, arguments);
    QFETCH(bool, available);
    const QHash<QByteArray, QByteArray> environment{
        {"DISPLAY", display.toLocal8Bit()},
        {"WAYLAND_DISPLAY", wayland.toLocal8Bit()},
        {"QT_QPA_PLATFORM", platform.toLocal8Bit()},
    };
    arguments.prepend("corvane-manager");
    QCOMPARE(app::displayAvailable(arguments, [&](const char *name) { return environment.value(name); }),
             available);
}

void TestAppStartup::twipsConversion_data()
{
    QTest::addColumn<qreal>("dpi");
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<QStringList>("texts");  // left, top, width, height as stored
    QTest::newRow("96 dpi") << qreal(96) << QRect(67, 67, 433, 433) << QStringList{"1005", "1005", "6495", "6495"};
    QTest::newRow("120 dpi") << qreal(120) << QRect(0, -10, 800, 601) << QStringList{"0", "-120", "9600", "7212"};
    QTest::newRow("144 dpi") << qreal(144) << QRect(1, 2, 3, 4) << QStringList{"10", "20", "30", "40"};
    QTest::newRow("fractions") << qreal(72 * 1.5) << QRect(7, 1, 1000, 100)
                               << QStringList{"93.33334", "13.33333", "13333.33", "1333.333"};
}

void TestAppStartup::twipsConversion()
{
    QFETCH(qreal, dpi);
    QFETCH(QRect, pixels);
    QFETCH(QStringList, texts);
    const app::PlacementTwips twips = app::pixelsToTwips(pixels, dpi, dpi);
    QCOMPARE((QStringList{app::twipsText(twips.left), app::twipsText(twips.top), app::twipsText(twips.width),
                          app::twipsText(twips.height)}),
             texts);
    QCOMPARE(app::twipsToPixels(twips, dpi, dpi), pixels);
}

void TestAppStartup::programAnswers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");  // text stdout contains
    QTest::addColumn<QString>("err");  // text stderr contains
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: corvane-manager [options]" << "";
    QTest::newRow("help options") << QStringList{"--help"} << 0 << "--scan-address <A>" << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "corvane-manager 1.0.0" << "";
    QTest::newRow("bad port") << QStringList{"--agent-port", "99999"} << 2 << ""
                              << "--agent-port needs a port number";
    QTest::newRow("no display")
        << QStringList{"--agent-port", "16100"} << 1 << ""
        << "corvane-manager: no display available (set DISPLAY, or QT_QPA_PLATFORM=offscreen)";
}

void TestAppStartup::programAnswers()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Run run = runProgram(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.out.contains(out), qPrintable(run.out));
    QVERIFY2(run.err.contains(err), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(TestAppStartup)
#include "test_app_startup.moc"
