// The shipped CORVANE-MIB module: every object the console addresses is
// there with the intended type and access, the trap texts are what the trap
// log shows, and two independent MIB tools (net-snmp's snmptranslate and
// libsmi's smilint) read the same module the same way.

#include "snmp/mib.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using snmp::Mib;

namespace {

const QString kMibFile = QStringLiteral(CORVANE_SOURCE_DIR "/CorvaneMIB.mib");
const QString kStandInDir = QStringLiteral(CORVANE_MIB_MODULES_DIR);
const QString kCorvane = QStringLiteral("1.3.6.1.4.1.49170");

// Object identifiers of the module's group nodes, below kCorvane.
const QList<QPair<QString, QString>> kGroups = {
    {"corvane", ""},
    {"corvaneSystem", ".1"},
    {"corvaneOperational", ".2"},
    {"corvanePrivacy", ".3"},
    {"corvaneBridge", ".4"},
    {"corvaneStatistics", ".5"},
    {"corvaneTestMode", ".6"},
    {"corvaneTrapObjects", ".7"},
};

// Descriptors that begin with an upper-case letter; see smilintFindsNoErrors().
const QStringList kUpperCaseDescriptors = {
    "EthRxStatistics", "EthTxStatistics", "TestModeRadioConfiguration", "TestModeOnOff",
    "TestModeCommandStruct",
};

struct ToolRun {
    bool started = false;
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ToolRun run;
    run.started = process.waitForStarted(10000);
    if (!run.started)
        return run;
    process.waitForFinished(60000);
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

}  // namespace

class TestCorvaneMib : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void objects_data();
    void objects();
    void traps_data();
    void traps();
    void readsOverTheStandInBaseModules();
    void agreesWithNetSnmp();
    void smilintFindsNoErrors();

private:
    QStringList allNames() const;

    Mib mib_;
    QTemporaryDir work_;
};

void TestCorvaneMib::initTestCase()
{
    const Mib::LoadResult result = mib_.Load(kMibFile);
    QCOMPARE(result.error, QString());
    QCOMPARE(mib_.moduleName(), QStringLiteral("CORVANE-MIB"));
    QVERIFY(work_.isValid());
}

void TestCorvaneMib::objects_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("oid");  // below the enterprise arc
    QTest::addColumn<QString>("syntax");
    QTest::addColumn<QString>("access");

    const QString rw = QStringLiteral("read-write");
    const QString ro = QStringLiteral("read-only");
    const QString wo = QStringLiteral("write-only");
    const QString enabledDisabled = QStringLiteral("INTEGER { enabled(1), disabled(2) }");
    auto row = [](const char *name, const char *oid, const QString &syntax, const QString &access) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(oid) << syntax << access;
    };
    row("sysDeviceInfo", ".1.1", "OCTET STRING (SIZE(92))", ro);
    row("sysReset", ".1.2", "INTEGER { reset(1) }", wo);
    row("sysLoadDefaults", ".1.3", "INTEGER { loadDefaults(1) }", wo);
    row("sysTrapSwitch", ".1.4", enabledDisabled, rw);
    row("operChannelID", ".2.1", "INTEGER (1..14)", rw);
    row("operESSIDLength", ".2.2", "INTEGER (0..32)", rw);
    row("operESSID", ".2.3", "DisplayString (SIZE(0..32))", rw);
    row("operRTSThreshold", ".2.4", "INTEGER (0..2346)", rw);
    row("operFragmentationThreshold", ".2.5", "INTEGER (0..2346)", rw);
    row("operPreambleType", ".2.6", "INTEGER { shortPreamble(1), longPreamble(2) }", rw);
    row("operAuthenticationType", ".2.7", "INTEGER { openSystem(1), sharedKey(2), both(3) }", rw);
    row("operBasicRates", ".2.8", "OCTET STRING (SIZE(4))", rw);
    row("operAutoRateFallBack", ".2.9", "INTEGER { on(1), off(2) }", rw);
    row("operIPAddress", ".2.10", "IpAddress", rw);
    row("operIPMask", ".2.11", "IpAddress", rw);
    row("operEthernetAddress", ".2.12", "PhysAddress (SIZE(6))", rw);
    row("defaultWEPKey1", ".3.1", "OCTET STRING (SIZE(5))", rw);
    row("defaultWEPKey2", ".3.2", "OCTET STRING (SIZE(5))", rw);
    row("defaultWEPKey3", ".3.3", "OCTET STRING (SIZE(5))", rw);
    row("defaultWEPKey4", ".3.4", "OCTET STRING (SIZE(5))", rw);
    row("privacyDefaultWEPKeyID", ".3.5", "INTEGER (0..4)", rw);
    row("privacyWEPEnable", ".3.6", enabledDisabled, rw);
    row("bridgeOperationalMode", ".4.1",
        "INTEGER { wirelessBridgeToWirelessBridge(1), accessPoint(2), wirelessBridge(3) }", rw);
    row("bridgeRemoteBridgeBSSID", ".4.2", "OCTET STRING (SIZE(6))", rw);
    row("wirelessStatistics", ".5.1", "OCTET STRING (SIZE(88))", ro);
    row("EthRxStatistics", ".5.2", "OCTET STRING (SIZE(64))", ro);
    row("EthTxStatistics", ".5.3", "OCTET STRING (SIZE(56))", ro);
    row("TestModeRadioConfiguration", ".6.1", "OCTET STRING (SIZE(14))", rw);
    row("TestModeOnOff", ".6.2", "INTEGER { on(1) }", wo);
    row("TestModeCommandStruct", ".6.3", "OCTET STRING (SIZE(8))", wo);
    row("trapStationAddress", ".7.1", "PhysAddress (SIZE(6))", ro);
}

void TestCorvaneMib::objects()
{
    QFETCH(QString, name);
    QFETCH(QString, oid);
    QFETCH(QString, syntax);
    QFETCH(QString, access);
    QCOMPARE(mib_.OidOf(name), kCorvane + oid);
    QCOMPARE(mib_.nameOf(kCorvane + oid), name);
    const Mib::ObjectDefinition *object = mib_.object(name);
    QVERIFY(object);
    QCOMPARE(object->syntax, syntax);
    QCOMPARE(object->access, access);
    QVERIFY(!object->description.trimmed().isEmpty());
}

void TestCorvaneMib::traps_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("variables");
    const QStringList station{QStringLiteral("trapStationAddress")};
    for (int code = 1; code <= 5; ++code)
        QTest::addRow("station event %d", code) << code << station;
    QTest::newRow("configuration changed") << 6 << QStringList();
    QTest::newRow("new IP address") << 7 << QStringList{QStringLiteral("operIPAddress")};
    QTest::newRow("reset") << 8 << QStringList();
    QTest::newRow("defaults restored") << 9 << QStringList();
}

void TestCorvaneMib::traps()
{
    QFETCH(int, code);
    QFETCH(QStringList, variables);
    const Mib::TrapDefinition *trap = mib_.trapDefinition(code);
    QVERIFY(trap);
    QCOMPARE(trap->enterprise, QStringLiteral("corvane"));
    QCOMPARE(trap->variables, variables);
    // The text becomes one line of a trap log entry.
    QVERIFY(!trap->Text.isEmpty());
    QCOMPARE(trap->Text, trap->Text.simplified());
    QVERIFY(trap->Text.endsWith(QLatin1Char('.')));
    for (const QString &variable : variables)
        QVERIFY2(!mib_.OidOf(variable).isEmpty(), qPrintable(variable));
}

void TestCorvaneMib::readsOverTheStandInBaseModules()
{
    // The base modules the tools are given must mean to our loader what
    // the loader knows by itself.
    Mib withBases;
    const Mib builtIn;
    for (const char *module : {"RFC1155-SMI", "RFC-1212", "RFC-1215", "RFC1213-MIB"}) {
        const Mib::LoadResult result = withBases.Load(kStandInDir + QLatin1Char('/') + QLatin1String(module));
        QCOMPARE(result.error, QString());
    }
    QCOMPARE(withBases.objectNames(), QStringList({"sysDescr", "sysObjectID", "sysUpTime", "sysContact",
                                                   "sysName", "sysLocation", "sysServices"}));
    for (const QString &name : withBases.objectNames())
        QCOMPARE(withBases.OidOf(name), builtIn.OidOf(name));
    for (const char *name : {"internet", "directory", "mgmt", "experimental", "private", "enterprises", "mib-2"})
        QCOMPARE(withBases.OidOf(name), builtIn.OidOf(name));
    QCOMPARE(withBases.Load(kMibFile).error, QString());
    QCOMPARE(withBases.OidOf("operESSID"), mib_.OidOf("operESSID"));
}

QStringList TestCorvaneMib::allNames() const
{
    QStringList names;
    for (const auto &group : kGroups)
        names << group.first;
    names << mib_.objectNames();
    return names;
}

void TestCorvaneMib::agreesWithNetSnmp()
{
    const QString snmptranslate = QStandardPaths::findExecutable(QStringLiteral("snmptranslate"));
    if (snmptranslate.isEmpty())
        QSKIP("snmptranslate (package snmp) is not installed");

    // The module goes into a folder of its own (net-snmp indexes every file
    // of each MIB folder), and net-snmp reads no configuration of this
    // machine: its configuration path and state folder are a fresh empty
    // folder, so a "mibs :" line in /etc/snmp/snmp.conf cannot interfere.
    const QString moduleDir = work_.filePath(QStringLiteral("netsnmp-mibs"));
    const QString stateDir = work_.filePath(QStringLiteral("netsnmp-state"));
    QVERIFY(QDir().mkpath(moduleDir));
    // net-snmp announces every state folder it has to create itself.
    QVERIFY(QDir().mkpath(stateDir + QStringLiteral("/cert_indexes")));
    QVERIFY(QDir().mkpath(stateDir + QStringLiteral("/mib_indexes")));
    QVERIFY(QFile::copy(kMibFile, moduleDir + QStringLiteral("/CorvaneMIB.mib")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *variable : {"MIBS", "MIBDIRS", "MIBFILES"})
        environment.remove(QLatin1String(variable));
    environment.insert(QStringLiteral("SNMPCONFPATH"), stateDir);
    environment.insert(QStringLiteral("SNMP_PERSISTENT_DIR"), stateDir);
    const QStringList common{QStringLiteral("-M"), kStandInDir + QLatin1Char(':') + moduleDir,
                             QStringLiteral("-m"), QStringLiteral("CORVANE-MIB:RFC1213-MIB"),
                             QStringLiteral("-Le")};

    // Object identifiers: every group, every object and the system group.
    const Mib builtIn;
    QStringList names = allNames();
    QStringList expected;
    QStringList arguments = common;
    arguments << QStringLiteral("-On");
    for (const QString &name : names) {
        arguments << QStringLiteral("CORVANE-MIB::") + name;
        expected << QLatin1Char('.') + mib_.OidOf(name);
    }
    for (const char *name : {"RFC1213-MIB::sysDescr", "RFC1213-MIB::sysObjectID", "RFC1213-MIB::sysUpTime",
                             "RFC1213-MIB::sysContact", "RFC1213-MIB::sysName", "RFC1213-MIB::sysLocation",
                             "RFC1213-MIB::sysServices", "RFC1213-MIB::mib-2", "RFC1155-SMI::enterprises"}) {
        names << QLatin1String(name);
        arguments << QLatin1String(name);
        expected << QLatin1Char('.') + builtIn.OidOf(QString::fromLatin1(name).section(QLatin1String("::"), 1));
    }
    // Trap numbers: net-snmp places trap n of an enterprise at enterprise.0.n.
    for (const Mib::TrapDefinition &trap : mib_.trapDefinitions()) {
        names << trap.name;
        arguments << QStringLiteral("CORVANE-MIB::") + trap.name;
        expected << QStringLiteral(".%1.0.%2").arg(mib_.OidOf(trap.enterprise)).arg(trap.code);
    }
    ToolRun run = runTool(snmptranslate, arguments, environment);
    QVERIFY2(run.started, "snmptranslate did not start");
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    const QStringList oids = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(oids.size(), expected.size());
    for (int i = 0; i < oids.size(); ++i)
        QVERIFY2(oids.at(i) == expected.at(i),
                 qPrintable(QStringLiteral("%1: net-snmp %2, loader %3").arg(names.at(i), oids.at(i), expected.at(i))));

    // Access and DESCRIPTION texts of every object and trap, as net-snmp
    // reads them (-Pd keeps descriptions, -Td prints a definition).
    arguments = common;
    arguments << QStringLiteral("-Pd") << QStringLiteral("-Td");
    QStringList described = mib_.objectNames();
    for (const Mib::TrapDefinition &trap : mib_.trapDefinitions())
        described << trap.name;
    for (const QString &name : described)
        arguments << QStringLiteral("CORVANE-MIB::") + name;
    run = runTool(snmptranslate, arguments, environment);
    QCOMPARE(run.err, QString());
    const QStringList blocks = run.out.split(QRegularExpression(QStringLiteral("^CORVANE-MIB::"),
                                                                QRegularExpression::MultilineOption),
                                             Qt::SkipEmptyParts);
    QCOMPARE(blocks.size(), described.size());
    const QRegularExpression accessPattern(QStringLiteral("^  MAX-ACCESS\\t(\\S+)$"),
                                           QRegularExpression::MultilineOption);
    const QRegularExpression descriptionPattern(QStringLiteral("^  DESCRIPTION\\t\"(.*)\"\\n::="),
                                                QRegularExpression::MultilineOption
                                                    | QRegularExpression::DotMatchesEverythingOption);
    for (int i = 0; i < blocks.size(); ++i) {
        const QString &name = described.at(i);
        QVERIFY2(blocks.at(i).startsWith(name + QLatin1Char('\n')), qPrintable(name));
        const QRegularExpressionMatch description = descriptionPattern.match(blocks.at(i));
        QVERIFY2(description.hasMatch(), qPrintable(name));
        if (const Mib::ObjectDefinition *object = mib_.object(name)) {
            QCOMPARE(description.captured(1), object->description);
            QCOMPARE(accessPattern.match(blocks.at(i)).captured(1), object->access);
        } else {
            const auto traps = mib_.trapDefinitions();
            const auto trap = std::find_if(traps.cbegin(), traps.cend(),
                                           [&name](const Mib::TrapDefinition &t) { return t.name == name; });
            QVERIFY(trap != traps.cend());
            QCOMPARE(description.captured(1), trap->Text);
        }
    }
}

void TestCorvaneMib::smilintFindsNoErrors()
{
    const QString smilint = QStandardPaths::findExecutable(QStringLiteral("smilint"));
    if (smilint.isEmpty())
        QSKIP("smilint (package smitools) is not installed");

    // libsmi's grammar takes a word with an upper-case initial for a type
    // name, so it cannot read `EthRxStatistics OBJECT-TYPE` at all: besides
    // its bad-identifier-case error (severity 2) it reports a syntax error
    // (severity 1) and drops the definition. Ignoring bad-identifier-case
    // with -i would therefore still leave errors, and ignoring the syntax
    // errors would hide real faults. net-snmp reads these names as they are
    // (agreesWithNetSnmp), and the console addresses the objects by them,
    // so they stay. smilint checks a copy in which only the initial letter
    // of exactly these five descriptors is lowered; every other line is
    // linted as written, and all error levels (1 to 3) must stay silent.
    QFile original(kMibFile);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(original.readAll()).split(QLatin1Char('\n'));
    const QRegularExpression upperCaseDefinition(QStringLiteral("^([A-Z])(\\w*)( OBJECT-TYPE)$"));
    QStringList copy;
    QStringList lowered;
    for (const QString &line : lines) {
        const QRegularExpressionMatch match = upperCaseDefinition.match(line);
        if (match.hasMatch()) {
            lowered << match.captured(1) + match.captured(2);
            copy << match.captured(1).toLower() + match.captured(2) + match.captured(3);
        } else {
            copy << line;
        }
    }
    QCOMPARE(lowered, kUpperCaseDescriptors);

    const QString lintDir = work_.filePath(QStringLiteral("smilint"));
    QVERIFY(QDir().mkpath(lintDir));
    QFile lintCopy(lintDir + QStringLiteral("/CorvaneMIB.mib"));
    QVERIFY(lintCopy.open(QIODevice::WriteOnly));
    lintCopy.write(copy.join(QLatin1Char('\n')).toLatin1());
    lintCopy.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SMIPATH"), kStandInDir);
    ToolRun run = runTool(smilint, {QStringLiteral("-s"), QStringLiteral("-m"), QStringLiteral("-l"),
                                    QStringLiteral("3"), lintCopy.fileName()},
                          environment);
    QVERIFY2(run.started, "smilint did not start");
    QCOMPARE(run.err + run.out, QString());

    // The same lint at the warning levels shows only what is meant: the
    // write-only commands and the trap node libsmi adds below the
    // enterprise.
    run = runTool(smilint, {QStringLiteral("-m"), QStringLiteral("-l"), QStringLiteral("6"), lintCopy.fileName()},
                  environment);
    for (const QString &diagnostic : (run.err + run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        QVERIFY2(diagnostic.contains(QLatin1String("{access-write-only-smiv1}"))
                     || diagnostic.contains(QLatin1String("{node-implicit}")),
                 qPrintable(diagnostic));
}

QTEST_GUILESS_MAIN(TestCorvaneMib)
#include "test_corvane_mib.moc"
