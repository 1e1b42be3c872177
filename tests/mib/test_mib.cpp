// The MIB loader: names to OIDs, object clauses, trap texts, and the errors
// that must leave the loaded names untouched.

#include "snmp/mib.h"

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

}  // namespace

class TestMib : public QObject {
    Q_OBJECT

private slots:
    void knownWithoutFile_data();
    void knownWithoutFile();
    void resolves_data();
    void resolves();
    void rejectsAndKeepsPreviousState_data();
    void rejectsAndKeepsPreviousState();
    void objectClauses_data();
    void objectClauses();
    void trapDefinitions_data();
    void trapDefinitions();
    void laterModulesAddAndReplace();
    void fileErrors();
    void largeInputsStayFast_data();
    void largeInputsStayFast();
};

void TestMib::knownWithoutFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("oid");
    QTest::newRow("iso") << "iso" << "1";
    QTest::newRow("org") << "org" << "1.3";
    QTest::newRow("dod") << "dod" << "1.3.6";
    QTest::newRow("internet") << "internet" << "1.3.6.1";
    QTest::newRow("directory") << "directory" << "1.3.6.1.1";
    QTest::newRow("mgmt") << "mgmt" << "1.3.6.1.2";
    QTest::newRow("mib-2") << "mib-2" << "1.3.6.1.2.1";
    QTest::newRow("experimental") << "experimental" << "1.3.6.1.3";
    QTest::newRow("private") << "private" << "1.3.6.1.4";
    QTest::newRow("enterprises") << "enterprises" << "1.3.6.1.4.1";
    QTest::newRow("system") << "system" << "1.3.6.1.2.1.1";
    QTest::newRow("sysDescr") << "sysDescr" << "1.3.6.1.2.1.1.1";
    QTest::newRow("sysObjectID") << "sysObjectID" << "1.3.6.1.2.1.1.2";
    QTest::newRow("sysUpTime") << "sysUpTime" << "1.3.6.1.2.1.1.3";
    QTest::newRow("sysContact") << "sysContact" << "1.3.6.1.2.1.1.4";
    QTest::newRow("sysName") << "sysName" << "1.3.6.1.2.1.1.5";
    QTest::newRow("sysLocation") << "sysLocation" << "1.3.6.1.2.1.1.6";
    QTest::newRow("sysServices") << "sysServices" << "1.3.6.1.2.1.1.7";
    QTest::newRow("module object unknown") << "operESSID" << "";
    QTest::newRow("case matters") << "sysdescr" << "";
}

void TestMib::knownWithoutFile()
{
    QFETCH(QString, name);
    QFETCH(QString, oid);
    const Mib mib;
    QCOMPARE(mib.OidOf(name), oid);
    if (!oid.isEmpty())
        QCOMPARE(mib.nameOf(oid), name);
    QCOMPARE(mib.hasModule(), false);
    QCOMPARE(mib.trapDefinition(1), nullptr);
}

void TestMib::resolves_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("oid");

    QTest::newRow("child of a standard root")
        << module("corvane OBJECT IDENTIFIER ::= { enterprises 49170 }\n") << "corvane" << "1.3.6.1.4.1.49170";
    const QByteArray backwards = module(
        "leaf OBJECT-TYPE SYNTAX INTEGER ACCESS read-only STATUS mandatory ::= { group 2 }\n"
        "group OBJECT IDENTIFIER ::= { top 1 }\n"
        "top OBJECT IDENTIFIER ::= { enterprises 7 }\n");
    QTest::newRow("parents defined later") << backwards << "leaf" << "1.3.6.1.4.1.7.1.2";
    QTest::newRow("parents defined later, middle") << backwards << "group" << "1.3.6.1.4.1.7.1";
    QTest::newRow("several arcs after the parent")
        << module("deep OBJECT IDENTIFIER ::= { enterprises 1 2 3 }\n") << "deep" << "1.3.6.1.4.1.1.2.3";
    QTest::newRow("name(number) arcs")
        << module("net OBJECT IDENTIFIER ::= { iso org(3) dod(6) 1 }\n") << "net" << "1.3.6.1";
    QTest::newRow("name(number) names its arc")
        << module("x OBJECT IDENTIFIER ::= { iso lab(9) 4 }\n") << "lab" << "1.9";
    QTest::newRow("numbers only")
        << module("n OBJECT IDENTIFIER ::= { 1 3 6 1 4 1 99 }\n") << "n" << "1.3.6.1.4.1.99";
    QTest::newRow("named first arc")
        << module("f OBJECT IDENTIFIER ::= { iso(1) 5 }\n") << "f" << "1.5";
    QTest::newRow("largest arc")
        << module("big OBJECT IDENTIFIER ::= { enterprises 4294967295 }\n") << "big" << "1.3.6.1.4.1.4294967295";

    const QByteArray comments = module(
        "-- hidden OBJECT IDENTIFIER ::= { enterprises 1 }\n"
        "inline OBJECT IDENTIFIER -- was 3 -- ::= { enterprises 4 }\n"
        "-----\n"
        "----------------------------------------------------------\n"
        "ruled OBJECT IDENTIFIER ::= { enterprises 5 } -- trailing remark\n"
        "/* blocked OBJECT IDENTIFIER ::= { enterprises 1 } /* nested */ still comment */\n"
        "after OBJECT IDENTIFIER ::= { enterprises 6 }\n");
    QTest::newRow("comment to end of line") << comments << "hidden" << "";
    QTest::newRow("comment closed by --") << comments << "inline" << "1.3.6.1.4.1.4";
    QTest::newRow("rulers of dashes") << comments << "ruled" << "1.3.6.1.4.1.5";
    QTest::newRow("block comment") << comments << "blocked" << "";
    QTest::newRow("after nested block comment") << comments << "after" << "1.3.6.1.4.1.6";

    const QByteArray strings = module(
        "described OBJECT-TYPE\n"
        "    SYNTAX INTEGER\n"
        "    ACCESS read-only\n"
        "    STATUS mandatory\n"
        "    DESCRIPTION \"Says \"\"hi\"\" -- not a comment\n"
        "        fake OBJECT IDENTIFIER ::= { enterprises 9 }\"\n"
        "    REFERENCE \"RFC 1212\"\n"
        "    DEFVAL { 'FF'H }\n"
        "    ::= { enterprises 8 }\n");
    QTest::newRow("object after a multi-line string") << strings << "described" << "1.3.6.1.4.1.8";
    QTest::newRow("assignment inside a string") << strings << "fake" << "";

    const QByteArray skipped =
        "SKIP-MIB DEFINITIONS ::= BEGIN\n"
        "IMPORTS enterprises, Counter FROM RFC1155-SMI\n"
        "        OBJECT-TYPE FROM RFC-1212;\n"
        "EXPORTS everything;\n"
        "OBJECT-TYPE MACRO ::= BEGIN TYPE NOTATION ::= \"SYNTAX\" type (TYPE ObjectSyntax) END\n"
        "Counter32 ::= [APPLICATION 1] IMPLICIT INTEGER (0..4294967295)\n"
        "Entry ::= SEQUENCE { index INTEGER, name OCTET STRING }\n"
        "Name ::= OBJECT IDENTIFIER\n"
        "Flag ::= TEXTUAL-CONVENTION DISPLAY-HINT \"d\" STATUS current\n"
        "    DESCRIPTION \"x\" SYNTAX INTEGER { on(1), off(2) }\n"
        "ident MODULE-IDENTITY LAST-UPDATED \"200001010000Z\" ORGANIZATION \"o\"\n"
        "    CONTACT-INFO \"c\" DESCRIPTION \"d\" REVISION \"200001010000Z\" DESCRIPTION \"r\"\n"
        "    ::= { enterprises 3 }\n"
        "table OBJECT-TYPE SYNTAX SEQUENCE OF Entry ACCESS not-accessible STATUS mandatory\n"
        "    INDEX { index } ::= { ident 1 }\n"
        "END\n"
        "SECOND-MIB DEFINITIONS ::= BEGIN\n"
        "second OBJECT IDENTIFIER ::= { enterprises 11 }\n"
        "END\n";
    QTest::newRow("under an SMIv2 identity") << skipped << "table" << "1.3.6.1.4.1.3.1";
    QTest::newRow("type names are not objects") << skipped << "Entry" << "";
    QTest::newRow("second module of a file") << skipped << "second" << "1.3.6.1.4.1.11";
    QTest::newRow("CR LF line ends")
        << QByteArray("CR-MIB DEFINITIONS ::= BEGIN\r\n-- remark\r\ncr OBJECT IDENTIFIER ::= { enterprises 12 }\r\nEND\r\n")
        << "cr" << "1.3.6.1.4.1.12";
}

void TestMib::resolves()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, name);
    QFETCH(QString, oid);
    Mib mib;
    const Mib::LoadResult result = mib.loadText(text);
    QCOMPARE(result.error, QString());
    QCOMPARE(result.ok, true);
    QCOMPARE(mib.OidOf(name), oid);
    if (!oid.isEmpty())
        QCOMPARE(mib.nameOf(oid), name);
}

void TestMib::rejectsAndKeepsPreviousState_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");

    // `early` (line 2) is fine; the fault comes after it.
    const QByteArray early = "early OBJECT IDENTIFIER ::= { enterprises 2 }\n";
    QTest::newRow("unterminated string") << module(early +
        "x OBJECT-TYPE\n"
        "    SYNTAX INTEGER\n"
        "    ACCESS read-only\n"
        "    STATUS mandatory\n"
        "    DESCRIPTION \"never closed\n"
        "    ::= { enterprises 3 }\n")
        << "bad.mib:7: unterminated string";
    QTest::newRow("unterminated comment") << module(early + "/* open\n\n")
        << "bad.mib:3: unterminated comment";
    QTest::newRow("unterminated literal") << module(early + "x OBJECT-TYPE SYNTAX INTEGER DEFVAL { 'FF }\n")
        << "bad.mib:3: unterminated quoted literal";
    QTest::newRow("unknown parent") << module(early + "\nx OBJECT IDENTIFIER ::= { nowhere 1 }\n")
        << "bad.mib:4: unknown parent 'nowhere' of 'x'";
    QTest::newRow("circular") << module(early + "a OBJECT IDENTIFIER ::= { b 1 }\nb OBJECT IDENTIFIER ::= { a 1 }\n")
        << "bad.mib:4: 'b' is part of a circular definition";
    QTest::newRow("defined twice") << module(early + "early OBJECT IDENTIFIER ::= { enterprises 3 }\n")
        << "bad.mib:3: 'early' is defined twice (first at line 2)";
    QTest::newRow("no END") << QByteArray("TEST-MIB DEFINITIONS ::= BEGIN\n" + early)
        << "bad.mib:3: module TEST-MIB is not closed by END";
    QTest::newRow("name as later arc") << module(early + "x OBJECT IDENTIFIER ::= { enterprises one }\n")
        << "bad.mib:3: expected an arc number, found 'one'";
    QTest::newRow("arc too large") << module(early + "x OBJECT IDENTIFIER ::= { enterprises 4294967296 }\n")
        << "bad.mib:3: arc number 4294967296 out of range";
    QTest::newRow("negative arc") << module(early + "x OBJECT IDENTIFIER ::= { enterprises -1 }\n")
        << "bad.mib:3: arc number -1 out of range";
    QTest::newRow("empty value") << module(early + "x OBJECT IDENTIFIER ::= { }\n")
        << "bad.mib:3: empty object identifier value";
    QTest::newRow("value not closed") << QByteArray("TEST-MIB DEFINITIONS ::= BEGIN\n" + early + "x OBJECT IDENTIFIER ::= { enterprises\n")
        << "bad.mib:3: object identifier value not closed by '}'";
    QTest::newRow("no ::=") << module(early + "x OBJECT IDENTIFIER { enterprises 3 }\n")
        << "bad.mib:3: expected '::=' after OBJECT IDENTIFIER, found '{'";
    QTest::newRow("no SYNTAX") << module(early + "x OBJECT-TYPE\n ACCESS read-only\n STATUS mandatory\n ::= { enterprises 3 }\n")
        << "bad.mib:3: OBJECT-TYPE x has no SYNTAX";
    QTest::newRow("unknown ACCESS") << module(early + "x OBJECT-TYPE SYNTAX INTEGER\n ACCESS read-mostly\n")
        << "bad.mib:4: unknown ACCESS value 'read-mostly'";
    QTest::newRow("DESCRIPTION without string") << module(early + "x OBJECT-TYPE SYNTAX INTEGER DESCRIPTION none\n")
        << "bad.mib:3: expected a quoted string after DESCRIPTION, found 'none'";
    QTest::newRow("trap without ENTERPRISE") << module(early + "t TRAP-TYPE\n DESCRIPTION \"x\"\n ::= 1\n")
        << "bad.mib:3: TRAP-TYPE t has no ENTERPRISE";
    QTest::newRow("trap number in braces") << module(early + "t TRAP-TYPE ENTERPRISE early ::= { 1 }\n")
        << "bad.mib:3: expected a trap number after ::=, found '{'";
    QTest::newRow("trap VARIABLES not closed") << module(early + "t TRAP-TYPE ENTERPRISE early VARIABLES { a b }\n")
        << "bad.mib:3: expected ',' or '}' in VARIABLES, found 'b'";
    QTest::newRow("IMPORTS without ;")
        << QByteArray("TEST-MIB DEFINITIONS ::= BEGIN\nIMPORTS enterprises FROM RFC1155-SMI\n" + early + "END\n")
        << "bad.mib:2: IMPORTS not closed by ';'";
    QTest::newRow("stray symbol") << module(early + "; x\n") << "bad.mib:3: unexpected ';'";
    QTest::newRow("value assignment") << module(early + "x INTEGER ::= 5\n")
        << "bad.mib:3: unexpected 'INTEGER' after 'x'";
    QTest::newRow("empty text") << QByteArray() << "bad.mib:1: no module definition found";
    QTest::newRow("only a comment") << QByteArray("-- nothing\n") << "bad.mib:2: no module definition found";
    QTest::newRow("binary bytes") << QByteArray("\x01\x02\xff", 3) << "bad.mib:1: expected a module name, found character 0x01";
    QTest::newRow("too many arcs") << module(early + "x OBJECT IDENTIFIER ::= { enterprises" + QByteArray(" 1").repeated(123) + " }\n")
        << "bad.mib:3: object identifier of 'x' is longer than 128 arcs";
}

void TestMib::rejectsAndKeepsPreviousState()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    Mib mib;
    QCOMPARE(mib.loadText(kGoodModule).ok, true);

    const Mib::LoadResult result = mib.loadText(text, QStringLiteral("bad.mib"));
    QCOMPARE(result.error, error);
    QCOMPARE(result.ok, false);

    QCOMPARE(mib.OidOf(QStringLiteral("early")), QString());
    QCOMPARE(mib.OidOf(QStringLiteral("kept")), QStringLiteral("1.3.6.1.4.1.1"));
    QCOMPARE(mib.nameOf(QStringLiteral("1.3.6.1.4.1.2")), QString());
    QCOMPARE(mib.moduleName(), QStringLiteral("GOOD-MIB"));
    QCOMPARE(mib.objectNames(), QStringList{QStringLiteral("kept")});
    QCOMPARE(mib.trapDefinitions().size(), 1);
}

void TestMib::objectClauses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("syntax");
    QTest::addColumn<QString>("access");
    QTest::addColumn<QString>("description");
    QTest::newRow("enumeration") << "onOff" << "INTEGER { on(1), off(2) }" << "read-write" << "Switch.";
    QTest::newRow("fixed size, spaced as in RFCs") << "info" << "OCTET STRING (SIZE(92))" << "read-only"
                                                   << "Line one;\n         line two."; 
    QTest::newRow("negative range") << "level" << "INTEGER (-1..14)" << "write-only" << "";
    QTest::newRow("refined type") << "essid" << "DisplayString (SIZE(0..32))" << "read-write" << "Name ";
    QTest::newRow("table") << "table" << "SEQUENCE OF Entry" << "not-accessible" << "";
}

void TestMib::objectClauses()
{
    QFETCH(QString, name);
    QFETCH(QString, syntax);
    QFETCH(QString, access);
    QFETCH(QString, description);
    Mib mib;
    const Mib::LoadResult result = mib.loadText(module(
        "onOff OBJECT-TYPE SYNTAX INTEGER{on(1),off(2)} ACCESS read-write STATUS mandatory\n"
        "    DESCRIPTION \"Switch.\" ::= { enterprises 1 }\n"
        "info OBJECT-TYPE SYNTAX OCTET STRING (SIZE (92)) ACCESS read-only STATUS mandatory\n"
        "    DESCRIPTION \"Line one;\n"
        "         line two.\" ::= { enterprises 2 }\n"
        "level OBJECT-TYPE SYNTAX INTEGER (-1 .. 14) ACCESS write-only STATUS optional ::= { enterprises 3 }\n"
        "essid OBJECT-TYPE SYNTAX DisplayString (SIZE(0..32)) ACCESS read-write STATUS mandatory\n"
        "    DESCRIPTION \"Name \" ::= { enterprises 4 }\n"
        "table OBJECT-TYPE SYNTAX SEQUENCE OF Entry ACCESS not-accessible STATUS mandatory\n"
        "    INDEX { onOff } ::= { enterprises 5 }\n"));
    QCOMPARE(result.error, QString());

    const Mib::ObjectDefinition *object = mib.object(name);
    QVERIFY(object);
    QCOMPARE(object->name, name);
    QCOMPARE(object->oid, mib.OidOf(name));
    QCOMPARE(object->syntax, syntax);
    QCOMPARE(object->access, access);
    QCOMPARE(object->description, description);
    QCOMPARE(mib.objectNames(), QStringList({"onOff", "info", "level", "essid", "table"}));
    QCOMPARE(mib.moduleName(), QStringLiteral("TEST-MIB"));
}

void TestMib::trapDefinitions_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QString>("text");
    QTest::newRow("one variable") << 1 << "stationUp" << QStringList{"station"} << "A station came.";
    QTest::newRow("two variables, quotes") << 7 << "renamed" << QStringList{"station", "other"}
                                           << "Named \"new\".";
    QTest::newRow("no variables, lines kept") << 8 << "restarted" << QStringList()
                                              << "Restarted;\n      twice.";
    QTest::newRow("no DESCRIPTION") << 9 << "silent" << QStringList() << "";
}

void TestMib::trapDefinitions()
{
    QFETCH(int, code);
    QFETCH(QString, name);
    QFETCH(QStringList, variables);
    QFETCH(QString, text);
    Mib mib;
    const Mib::LoadResult result = mib.loadText(module(
        "stationUp TRAP-TYPE ENTERPRISE vendor VARIABLES { station }\n"
        "    DESCRIPTION \"A station came.\" ::= 1\n"
        "renamed TRAP-TYPE ENTERPRISE vendor VARIABLES { station, other }\n"
        "    DESCRIPTION \"Named \"\"new\"\".\" REFERENCE \"manual\" ::= 7\n"
        "restarted TRAP-TYPE ENTERPRISE vendor DESCRIPTION \"Restarted;\n"
        "      twice.\" ::= 8\n"
        "silent TRAP-TYPE ENTERPRISE vendor ::= 9\n"
        "vendor OBJECT IDENTIFIER ::= { enterprises 5 }\n"));
    QCOMPARE(result.error, QString());

    const Mib::TrapDefinition *trap = mib.trapDefinition(code);
    QVERIFY(trap);
    QCOMPARE(trap->code, code);
    QCOMPARE(trap->name, name);
    QCOMPARE(trap->enterprise, QStringLiteral("vendor"));
    QCOMPARE(trap->variables, variables);
    QCOMPARE(trap->Text, text);
    QCOMPARE(mib.trapDefinition(2), nullptr);
    QCOMPARE(mib.trapDefinitions().size(), 4);
}

void TestMib::laterModulesAddAndReplace()
{
    Mib mib;
    QCOMPARE(mib.loadText("A-MIB DEFINITIONS ::= BEGIN\n"
                          "a OBJECT-TYPE SYNTAX INTEGER ACCESS read-only STATUS mandatory ::= { enterprises 1 }\n"
                          "moved OBJECT IDENTIFIER ::= { enterprises 2 }\n"
                          "t TRAP-TYPE ENTERPRISE a DESCRIPTION \"first\" ::= 1\n"
                          "END\n").error,
             QString());
    // The second module builds on the first one's names.
    QCOMPARE(mib.loadText("B-MIB DEFINITIONS ::= BEGIN\n"
                          "b OBJECT-TYPE SYNTAX INTEGER ACCESS read-only STATUS mandatory ::= { a 1 }\n"
                          "moved OBJECT IDENTIFIER ::= { enterprises 3 }\n"
                          "u TRAP-TYPE ENTERPRISE b DESCRIPTION \"second\" ::= 1\n"
                          "END\n").error,
             QString());
    QCOMPARE(mib.OidOf("b"), QStringLiteral("1.3.6.1.4.1.1.1"));
    QCOMPARE(mib.OidOf("moved"), QStringLiteral("1.3.6.1.4.1.3"));
    QCOMPARE(mib.nameOf("1.3.6.1.4.1.2"), QString());
    QCOMPARE(mib.objectNames(), QStringList({"a", "b"}));
    QCOMPARE(mib.moduleName(), QStringLiteral("B-MIB"));
    QCOMPARE(mib.trapDefinitions().size(), 1);
    QCOMPARE(mib.trapDefinition(1)->Text, QStringLiteral("second"));
}

void TestMib::fileErrors()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Mib mib;
    const QString missing = dir.filePath(QStringLiteral("missing.mib"));
    QCOMPARE(mib.Load(missing).error, missing + QStringLiteral(": no such file"));
    QCOMPARE(mib.Load(dir.path()).error, dir.path() + QStringLiteral(": not a file"));

    const QString bad = dir.filePath(QStringLiteral("bad.mib"));
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(module("x OBJECT IDENTIFIER ::= { nowhere 1 }\n"));
    file.close();
    const Mib::LoadResult result = mib.Load(bad);
    QCOMPARE(result.ok, false);
    QCOMPARE(result.error, bad + QStringLiteral(":2: unknown parent 'nowhere' of 'x'"));
    QCOMPARE(mib.hasModule(), false);
}

// Inputs shaped to make a careless loader rescan or recurse: each must be
// read in about linear time (well under a second of CPU time even with
// sanitizers; CPU time, because other builds may share the machine).
void TestMib::largeInputsStayFast_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    QTest::newRow("comment groups before text")
        << module(QByteArray("-- ").repeated(100000) + "x\n") << false;
    QTest::newRow("deep brackets")
        << module("x OBJECT-TYPE SYNTAX INTEGER DEFVAL " + QByteArray("{").repeated(200000)
                  + QByteArray("}").repeated(200000) + " ::= { enterprises 1 }\n")
        << true;
    QByteArray chain;
    for (int i = 0; i < 100; ++i)
        chain += "d" + QByteArray::number(i) + " OBJECT IDENTIFIER ::= { d" + QByteArray::number(i + 1) + " 1 }\n";
    chain += "d100 OBJECT IDENTIFIER ::= { enterprises 1 }\n";
    for (int i = 0; i < 20000; ++i)
        chain += "s" + QByteArray::number(i) + " OBJECT IDENTIFIER ::= { d0 " + QByteArray::number(i) + " }\n";
    QTest::newRow("many leaves under a backward chain") << module(chain) << true;
    QTest::newRow("doubled quotes")
        << module("x OBJECT-TYPE SYNTAX INTEGER DESCRIPTION \"" + QByteArray("\"\"").repeated(200000)
                  + "\" ::= { enterprises 1 }\n")
        << true;
}

void TestMib::largeInputsStayFast()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    Mib mib;
    const std::clock_t start = std::clock();
    QCOMPARE(mib.loadText(text).ok, ok);
    const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    QVERIFY2(seconds < 5.0, qPrintable(QString::number(seconds) + QStringLiteral(" s")));
}

QTEST_GUILESS_MAIN(TestMib)
#include "test_mib.moc"
