// The shipped CORVANE-MIB module: every object the console addresses resolves
// with a fitting type, the trap texts fit the trap log, and net-snmp's
// snmptranslate and libsmi's smilint read the module the same way.

#include "snmp/mib.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using snmp::Mib;

namespace {

const QString kMibFile = QStringLiteral(CORVANE_SOURCE_DIR "/CorvaneMIB.mib");
const QString kStandInDir = QStringLiteral(CORVANE_MIB_MODULES_DIR);

// Standard output and error of a tool, together; exitCode is -1 when the
// tool did not start, did not finish or crashed.
QString runTool(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                int &exitCode)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    exitCode = finished ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

}  // namespace

class TestCorvaneMib : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void consoleObjects_data();
    void consoleObjects();
    void trapTextsFitTheLog();
    void agreesWithNetSnmp();
    void smilintFindsNoErrors();

private:
    Mib mib_;
    QTemporaryDir work_;
};

void TestCorvaneMib::initTestCase()
{
    QCOMPARE(mib_.Load(kMibFile).error, QString());
    QCOMPARE(mib_.moduleName(), QStringLiteral("CORVANE-MIB"));
    QVERIFY(work_.isValid());
}

// The objects by the value type the console sends or reads them as.
void TestCorvaneMib::consoleObjects_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("syntax");  // pattern for the SYNTAX clause
    QTest::newRow("integer") << QStringList{
        "sysReset", "sysLoadDefaults", "sysTrapSwitch", "operChannelID", "operESSIDLength", "operRTSThreshold",
        "operFragmentationThreshold", "operPreambleType", "operAuthenticationType", "operAutoRateFallBack",
        "privacyDefaultWEPKeyID", "privacyWEPEnable", "bridgeOperationalMode", "TestModeOnOff"}
                             << "^INTEGER\\b";
    QTest::newRow("octet string") << QStringList{
        "sysDeviceInfo", "operESSID", "operBasicRates", "operEthernetAddress", "defaultWEPKey1", "defaultWEPKey2",
        "defaultWEPKey3", "defaultWEPKey4", "bridgeRemoteBridgeBSSID", "wirelessStatistics", "EthRxStatistics",
        "EthTxStatistics", "TestModeRadioConfiguration", "TestModeCommandStruct"}
                                  << "^(OCTET STRING|DisplayString|PhysAddress)\\b";
    QTest::newRow("IP address") << QStringList{"operIPAddress", "operIPMask"} << "^IpAddress$";
}

void TestCorvaneMib::consoleObjects()
{
    QFETCH(QStringList, names);
    QFETCH(QString, syntax);
    for (const QString &name : names) {
        const Mib::ObjectDefinition *object = mib_.object(name);
        QVERIFY2(object, qPrintable(name));
        QCOMPARE(mib_.nameOf(object->oid), name);  // no other name shares the OID
        QVERIFY2(QRegularExpression(syntax).match(object->syntax).hasMatch(), qPrintable(name + ": " + object->syntax));
    }
}

// The trap log shows the text of the trap's code as one line of an entry.
void TestCorvaneMib::trapTextsFitTheLog()
{
    QCOMPARE(mib_.trapDefinitions().size(), 9);
    for (int code = 1; code <= 9; ++code) {
        const Mib::TrapDefinition *trap = mib_.trapDefinition(code);
        QVERIFY2(trap, qPrintable(QString::number(code)));
        QVERIFY2(trap->Text.endsWith(QLatin1Char('.')) && trap->Text == trap->Text.simplified(), qPrintable(trap->Text));
        for (const QString &variable : trap->variables)
            QVERIFY2(mib_.object(variable), qPrintable(variable));
    }
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

    // Every node and object of the module, and the system group the loader
    // knows by itself; net-snmp places trap n of an enterprise at enterprise.0.n.
    QFile file(kMibFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QRegularExpression node(QStringLiteral("^(\\w+)\\s+OBJECT IDENTIFIER\\s+::="),
                                  QRegularExpression::MultilineOption);
    QStringList names{"RFC1155-SMI::enterprises", "RFC1213-MIB::mib-2", "RFC1213-MIB::sysDescr",
                      "RFC1213-MIB::sysObjectID", "RFC1213-MIB::sysUpTime", "RFC1213-MIB::sysContact",
                      "RFC1213-MIB::sysName", "RFC1213-MIB::sysLocation", "RFC1213-MIB::sysServices"};
    for (auto match = node.globalMatch(QString::fromLatin1(file.readAll())); match.hasNext();)
        names << QStringLiteral("CORVANE-MIB::") + match.next().captured(1);
    for (const QString &name : mib_.objectNames())
        names << QStringLiteral("CORVANE-MIB::") + name;
    QStringList expected;
    for (const QString &name : names)
        expected << name + QStringLiteral(" .") + mib_.OidOf(name.section(QLatin1String("::"), 1));
    for (const Mib::TrapDefinition &trap : mib_.trapDefinitions()) {
        names << QStringLiteral("CORVANE-MIB::") + trap.name;
        expected << names.last() + QStringLiteral(" .%1.0.%2").arg(mib_.OidOf(trap.enterprise)).arg(trap.code);
    }

    int exitCode = -1;
    const QStringList oids = runTool(snmptranslate,
                                     QStringList{"-M", kStandInDir + QLatin1Char(':') + moduleDir, "-m",
                                                 "CORVANE-MIB:RFC1213-MIB", "-Le", "-On"} + names,
                                     environment, exitCode)
                                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(exitCode, 0);
    for (int i = 0; i < names.size(); ++i)  // a warning line shows up as the first mismatch
        QCOMPARE(names.at(i) + QLatin1Char(' ') + oids.value(i), expected.at(i));
    QCOMPARE(oids.size(), names.size());
}

void TestCorvaneMib::smilintFindsNoErrors()
{
    const QString smilint = QStandardPaths::findExecutable(QStringLiteral("smilint"));
    if (smilint.isEmpty())
        QSKIP("smilint (package smitools) is not installed");

    // libsmi's grammar takes a word with an upper-case initial for a type
    // name, so it cannot read `EthRxStatistics OBJECT-TYPE` at all: besides
    // its bad-identifier-case error (severity 2) it reports a syntax error
    // (severity 1) and drops the definition, so ignoring bad-identifier-case
    // with -i would still leave errors, and ignoring syntax errors would hide
    // real faults. net-snmp reads these names as they are, and the console
    // addresses the objects by them, so they stay. smilint checks a copy in
    // which only the initial letter of exactly these five descriptors is
    // lowered; all error levels (1 to 3) must stay silent.
    QFile original(kMibFile);
    QVERIFY(original.open(QIODevice::ReadOnly));
    QString text = QString::fromLatin1(original.readAll());
    const QRegularExpression upperCaseDefinition(QStringLiteral("^[A-Z]\\w*(?= OBJECT-TYPE$)"),
                                                 QRegularExpression::MultilineOption);
    QStringList lowered;
    for (auto matches = upperCaseDefinition.globalMatch(text); matches.hasNext();) {
        const QRegularExpressionMatch match = matches.next();
        lowered << match.captured();
        text[match.capturedStart()] = text.at(match.capturedStart()).toLower();
    }
    QCOMPARE(lowered, QStringList({"EthRxStatistics", "EthTxStatistics", "TestModeRadioConfiguration",
                                   "TestModeOnOff", "TestModeCommandStruct"}));

    QFile lintCopy(work_.filePath(QStringLiteral("CorvaneMIB.mib")));
    QVERIFY(lintCopy.open(QIODevice::WriteOnly));
    lintCopy.write(text.toLatin1());
    lintCopy.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SMIPATH"), kStandInDir);
    int exitCode = -1;
    QCOMPARE(runTool(smilint, {"-s", "-m", "-l", "3", lintCopy.fileName()}, environment, exitCode), QString());
    QCOMPARE(exitCode, 0);
}

QTEST_GUILESS_MAIN(TestCorvaneMib)
#include "test_corvane_mib.moc"
