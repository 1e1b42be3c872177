// The MIB loader (names to OIDs, trap texts, errors that name file and line
// and keep what was loaded), and the shipped module read the same way by
// net-snmp's snmptranslate and libsmi's smilint.

#include "interop/interop_support.h"
#include "snmp/mib.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

using snmp::Mib;

namespace {

// Wraps assignment lines in a module header and END; the first line of
// `body` is line 2 of the text.
QByteArray module(const QByteArray &body)
{
    return "TEST-MIB DEFINITIONS ::= BEGIN\n" + body + "END\n";
}

const QByteArray kGoodModule =
    "GOOD-MIB DEFINITIONS ::= BEGIN\n"
    "kept OBJECT-TYPE SYNTAX INTEGER ACCESS read-only STATUS mandatory\n"
    "    ::= { enterprises 1 }\n"
    "keptTrap TRAP-TYPE ENTERPRISE kept DESCRIPTION \"Kept.\" ::= 1\n"
    "END\n";

const QString kMibFile = QStringLiteral(CORVANE_SOURCE_DIR "/CorvaneMIB.mib");
const QString kStandInDir = QStringLiteral(CORVANE_SOURCE_DIR "/tests/mib/modules");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// CPU time, because other builds may share the machine.
double cpuSecondsToLoad(const QByteArray &text, bool &ok)
{
    const std::clock_t start = std::clock();
    ok = Mib().loadText(text).ok;
    return double(std::clock() - start) / CLOCKS_PER_SEC;
}

}  // namespace

class TestMib : public QObject {
    Q_OBJECT

private slots:
    // Each expectation is "name=oid"; an empty oid means the name must stay unknown.
    void resolves_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("parents defined later") << module(
            "leaf OBJECT-TYPE SYNTAX INTEGER ACCESS read-only STATUS mandatory ::= { group 2 }\n"
            "group OBJECT IDENTIFIER ::= { top 1 }\n"
            "top OBJECT IDENTIFIER ::= { enterprises 7 }\n")
            << QStringList{"leaf=1.3.6.1.4.1.7.1.2", "group=1.3.6.1.4.1.7.1"};
        QTest::newRow("arc forms") << module(
            "deep OBJECT IDENTIFIER ::= { enterprises 1 2 3 }\n"
            "net OBJECT IDENTIFIER ::= { iso org(3) dod(6) 1 }\n"
            "x OBJECT IDENTIFIER ::= { iso lab(9) 4 }\n"
            "big OBJECT IDENTIFIER ::= { enterprises 4294967295 }\n")
            << QStringList{"deep=1.3.6.1.4.1.1.2.3", "net=1.3.6.1", "lab=1.9", "big=1.3.6.1.4.1.4294967295"};
        QTest::newRow("comments") << module(
            "-- hidden OBJECT IDENTIFIER ::= { enterprises 1 }\n"
            "inline OBJECT IDENTIFIER -- was 3 -- ::= { enterprises 4 }\n"
            "-----------------------------------------------------------------\n"

            "ruled OBJECT IDENTIFIER ::= { enterprises 5 } -- trailing remark\n"
            "/* blocked OBJECT IDENTIFIER ::= { enterprises 1 } /* nested */ still comment */\n"
            "after OBJECT IDENTIFIER ::= { enterprises 6 }\n")
            << QStringList{"hidden=", "inline=1.3.6.1.4.1.4", "ruled=1.3.6.1.4.1.5", "blocked=", "after=1.3.6.1.4.1.6"};
        QTest::newRow("quoted strings") << module(
            "described OBJECT-TYPE SYNTAX INTEGER ACCESS read-only STATUS mandatory\n"
            "    DESCRIPTION \"Says \"\"hi\"\" -- not a comment\n"
            "        fake OBJECT IDENTIFIER ::= { enterprises 9 }\"\n"
            "    DEFVAL { 'FF'H } ::= { enterprises 8 }\n")
            << QStringList{"described=1.3.6.1.4.1.8", "fake="};
        QTest::newRow("imports, macros, types, two modules, CR LF")
            << QByteArray("SKIP-MIB DEFINITIONS ::= BEGIN\n"
                          "IMPORTS enterprises, Counter FROM RFC1155-SMI OBJECT-TYPE FROM RFC-1212;\n"
                          "OBJECT-TYPE MACRO ::= BEGIN TYPE NOTATION ::= \"SYNTAX\" type (TYPE ObjectSyntax) END\n"
                          "Entry ::= SEQUENCE { index INTEGER, name OCTET STRING }\n"
                          "END\r\n"
                          "SECOND-MIB DEFINITIONS ::= BEGIN\r\n-- remark\r\n"
                          "second OBJECT IDENTIFIER ::= { enterprises 11 }\r\n"
                          "END\r\n")
            << QStringList{"Entry=", "second=1.3.6.1.4.1.11"};
    }

    void resolves()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, expected);
        Mib mib;
        QCOMPARE(mib.loadText(text).error, QString());
        for (const QString &expectation : expected) {
            const QString name = expectation.section(QLatin1Char('='), 0, 0);
            const QString oid = mib.OidOf(name);
            QCOMPARE(name + QLatin1Char('=') + oid, expectation);
            if (!oid.isEmpty())
                QCOMPARE(mib.nameOf(oid), name);
        }
    }

    // Each text is written to a file that the loader then reads; a null text
    // leaves the file missing.
    void rejectsAndKeepsPreviousState_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");  // after the file's path

        // `early` (line 2) is fine; the fault comes after it.
        const QByteArray early = "early OBJECT IDENTIFIER ::= { enterprises 2 }\n";
        auto row = [&early](const char *name, const QByteArray &body, const char *error) {
            QTest::newRow(name) << module(early + body) << QString::fromLatin1(error);
        };
        row("unterminated string", "x OBJECT-TYPE SYNTAX INTEGER\n DESCRIPTION \"never closed\n ::= { enterprises 3 }\n",
            ":4: unterminated string");
        row("unterminated comment", "/* open\n\n", ":3: unterminated comment");
        row("unknown parent", "\nx OBJECT IDENTIFIER ::= { nowhere 1 }\n", ":4: unknown parent 'nowhere' of 'x'");
        row("circular", "a OBJECT IDENTIFIER ::= { b 1 }\nb OBJECT IDENTIFIER ::= { a 1 }\n",
            ":4: 'b' is part of a circular definition");
        row("defined twice", "early OBJECT IDENTIFIER ::= { enterprises 3 }\n", ":3: 'early' is defined twice (first at line 2)");
        row("arc too large", "x OBJECT IDENTIFIER ::= { enterprises 4294967296 }\n", ":3: arc number 4294967296 out of range");
        row("too many arcs", "x OBJECT IDENTIFIER ::= { enterprises" + QByteArray(" 1").repeated(123) + " }\n",
            ":3: object identifier of 'x' is longer than 128 arcs");
        row("stray symbol", "; x\n", ":3: unexpected ';'");
        QTest::newRow("no END") << "TEST-MIB DEFINITIONS ::= BEGIN\n" + early << ":3: module TEST-MIB is not closed by END";
        QTest::newRow("empty file") << QByteArray("") << ":1: no module definition found";
        QTest::newRow("binary bytes") << QByteArray("\x01\x02\xff", 3) << ":1: expected a module name, found character 0x01";
        QTest::newRow("missing file") << QByteArray() << ": no such file";
        // Refused by its size before it is read: a real module is a few
        // hundred kilobytes at most.
        QTest::newRow("over 1 MiB") << module(early + "-- " + QByteArray(1024 * 1024, 'x') + "\n")
                                    << ": 1048661 bytes, too large for a MIB module (at most 1048576)";
    }

    void rejectsAndKeepsPreviousState()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.mib"));
        QVERIFY(text.isNull() || writeFile(path, text));
        Mib mib;
        QCOMPARE(mib.loadText(kGoodModule).ok, true);

        const Mib::LoadResult result = mib.Load(path);
        QCOMPARE(result.error, path + error);
        QCOMPARE(result.ok, false);
        QCOMPARE(mib.OidOf(QStringLiteral("early")), QString());
        QCOMPARE(mib.OidOf(QStringLiteral("kept")), QStringLiteral("1.3.6.1.4.1.1"));
        QCOMPARE(mib.moduleName(), QStringLiteral("GOOD-MIB"));
        QCOMPARE(mib.trapDefinitions().size(), 1);
    }

    // Number, name, enterprise, variables and text of each trap; a doubled
    // quote is one, line breaks stay, REFERENCE is skipped.
    void trapDefinitions()
    {
        Mib mib;
        QCOMPARE(mib.loadText(module(
            "stationUp TRAP-TYPE ENTERPRISE vendor VARIABLES { station }\n"
            "    DESCRIPTION \"A station came.\" ::= 1\n"
            "renamed TRAP-TYPE ENTERPRISE vendor VARIABLES { station, other }\n"
            "    DESCRIPTION \"Named \"\"new\"\".\" REFERENCE \"manual\" ::= 7\n"
            "restarted TRAP-TYPE ENTERPRISE vendor DESCRIPTION \"Restarted;\n"
            "      twice.\" ::= 8\n"
            "vendor OBJECT IDENTIFIER ::= { enterprises 5 }\n")).error,
                 QString());
        QStringList traps;
        for (int code : {1, 2, 7, 8}) {
            const Mib::TrapDefinition *trap = mib.trapDefinition(code);
            traps << (trap ? QStringLiteral("%1 %2 %3 (%4) %5").arg(code).arg(trap->name, trap->enterprise,
                                                                        trap->variables.join(','), trap->Text)
                           : QStringLiteral("%1 none").arg(code));
        }
        QCOMPARE(traps, QStringList({"1 stationUp vendor (station) A station came.", "2 none",
                                     "7 renamed vendor (station,other) Named \"new\".",
                                     "8 restarted vendor () Restarted;\n      twice."}));
    }

    // A line of many "-- " groups followed by text is scanned once, not again
    // from every group (seconds): timed against a plain comment line of the
    // same length, so that the bound holds under sanitizers too.
    void commentGroupsLoadInLinearTime()
    {
        const int groups = 60000;
        bool ok = true;
        const double baseline = cpuSecondsToLoad(module("-- " + QByteArray(3 * groups, 'x') + "\n"), ok);
        QCOMPARE(ok, true);
        const double grouped = cpuSecondsToLoad(module(QByteArray("-- ").repeated(groups) + "x\n"), ok);
        QCOMPARE(ok, false);  // the even count of "--" leaves `x` outside the comment
        QVERIFY2(grouped < 20 * baseline + 1.0,
                 qPrintable(QStringLiteral("%1 s against %2 s for a plain line").arg(grouped).arg(baseline)));
    }

    void agreesWithNetSnmp()
    {
        if (interop::NetSnmp::tool(QStringLiteral("snmptranslate")).isEmpty())
            QSKIP("snmptranslate (package snmp) is not installed");
        // The module in a folder of its own (net-snmp indexes every file of each
        // MIB folder); no configuration of this machine is read.
        QTemporaryDir work;
        const QString moduleDir = work.filePath(QStringLiteral("mibs")), stateDir = work.filePath(QStringLiteral("state"));
        for (const QString &dir : {moduleDir, stateDir + "/cert_indexes", stateDir + "/mib_indexes"})
            QVERIFY(QDir().mkpath(dir));  // net-snmp announces every state folder it has to make itself
        QVERIFY(QFile::copy(kMibFile, moduleDir + QStringLiteral("/CorvaneMIB.mib")));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *variable : {"MIBS", "MIBDIRS", "MIBFILES"})
            environment.remove(QLatin1String(variable));
        for (const char *variable : {"SNMPCONFPATH", "SNMP_PERSISTENT_DIR"})
            environment.insert(QLatin1String(variable), stateDir);

        // Every node and object of the module, and the system group the loader
        // knows by itself; net-snmp places trap n of an enterprise at enterprise.0.n.
        Mib mib;
        QCOMPARE(mib.Load(kMibFile).error, QString());
        const QRegularExpression node(QStringLiteral("^(\\w+)\\s+OBJECT IDENTIFIER\\s+::="),
                                      QRegularExpression::MultilineOption);
        QStringList names{"RFC1155-SMI::enterprises", "RFC1213-MIB::mib-2"};
        for (const char *name : {"Descr", "ObjectID", "UpTime", "Contact", "Name", "Location", "Services"})
            names << QStringLiteral("RFC1213-MIB::sys") + QLatin1String(name);
        for (auto match = node.globalMatch(QString::fromLatin1(readFile(kMibFile))); match.hasNext();)
            names << QStringLiteral("CORVANE-MIB::") + match.next().captured(1);
        for (const QString &name : mib.objectNames())
            names << QStringLiteral("CORVANE-MIB::") + name;
        QStringList expected;
        for (const QString &name : names)
            expected << name + QStringLiteral(" .") + mib.OidOf(name.section(QLatin1String("::"), 1));
        for (const Mib::TrapDefinition &trap : mib.trapDefinitions()) {
            names << QStringLiteral("CORVANE-MIB::") + trap.name;
            expected << names.last() + QStringLiteral(" .%1.0.%2").arg(mib.OidOf(trap.enterprise)).arg(trap.code);
        }

        const interop::ToolRun run = interop::runTool(interop::NetSnmp::tool(QStringLiteral("snmptranslate")),
            QStringList{"-M", kStandInDir + ':' + moduleDir, "-m", "CORVANE-MIB:RFC1213-MIB", "-Le", "-On"} + names,
            environment);
        QCOMPARE(run.exitCode, 0);
        const QStringList oids = QString::fromLatin1(run.out + run.err).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (int i = 0; i < names.size(); ++i)  // a warning line shows up as the first mismatch
            QCOMPARE(names.at(i) + QLatin1Char(' ') + oids.value(i), expected.at(i));
        QCOMPARE(oids.size(), names.size());
    }

    void smilintFindsNoErrors()
    {
        const QString smilint = interop::NetSnmp::tool(QStringLiteral("smilint"));
        if (smilint.isEmpty())
            QSKIP("smilint (package smitools) is not installed");
        // libsmi takes a word with an upper-case initial for a type name and
        // drops `EthRxStatistics OBJECT-TYPE` with a syntax error; net-snmp and
        // the console use these names as they are. smilint checks a copy with
        // only the initial of exactly these five lowered; every error level
        // (1 to 3) must stay silent.
        QString text = QString::fromLatin1(readFile(kMibFile));
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
        QTemporaryDir work;
        const QString lintCopy = work.filePath(QStringLiteral("CorvaneMIB.mib"));
        QVERIFY(writeFile(lintCopy, text.toLatin1()));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("SMIPATH"), kStandInDir);
        const interop::ToolRun run = interop::runTool(smilint, {"-s", "-m", "-l", "3", lintCopy}, environment);
        QCOMPARE(QString::fromLocal8Bit(run.out + run.err), QString());
        QCOMPARE(run.exitCode, 0);
    }
};

QTEST_GUILESS_MAIN(TestMib)
#include "test_mib.moc"
