// The radio test command's bytes and the CR31 check, without a device.

#include "config/radio_commands.h"

#include <QtTest>

using namespace config;

class TestRadioCommands : public QObject {
    Q_OBJECT
private slots:
    void commandStruct_data();
    void commandStruct();
    void cr31Check_data();
    void cr31Check();
};

void TestRadioCommands::commandStruct_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("antenna");
    QTest::addColumn<QString>("cr31");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("txFilter");
    QTest::addColumn<int>("command");
    QTest::addColumn<QByteArray>("bytes");  // hex; empty: nothing may be sent
    // channel, antenna, CR31, rate, Tx filter, command, 0, 0
    QTest::newRow("window defaults, start") << 1 << 1 << "C0" << 3 << 1 << 4 << QByteArray("0101C00301040000");
    QTest::newRow("last channel, B, JPN, 1M, Rx") << 14 << 2 << "ff" << 0 << 2 << 2 << QByteArray("0E02FF0002020000");
    QTest::newRow("empty place reads as no digit") << 6 << 1 << "C_" << 1 << 1 << 1 << QByteArray("06010C0101010000");
    QTest::newRow("empty CR31 box") << 6 << 1 << "__" << 2 << 1 << 3 << QByteArray("0601000201030000");
    QTest::newRow("field beyond a byte") << 300 << 1 << "C0" << 3 << 1 << 4 << QByteArray();
    QTest::newRow("negative field") << 1 << -1 << "C0" << 3 << 1 << 4 << QByteArray();
}

void TestRadioCommands::commandStruct()
{
    QFETCH(int, channel);
    QFETCH(int, antenna);
    QFETCH(QString, cr31);
    QFETCH(int, rate);
    QFETCH(int, txFilter);
    QFETCH(int, command);
    QFETCH(QByteArray, bytes);
    ConfigurationStore store;
    store.testModeChannel = Integer(channel);
    store.testModeAntenna = Integer(antenna);
    store.testModeCR31 = cr31;
    store.testModeRate = Integer(rate);
    store.testModeTxFilter = Integer(txFilter);
    const std::optional<QByteArray> built = testModeCommandStruct(store, Integer(command));
    QCOMPARE(built.has_value(), !bytes.isEmpty());
    if (built)
        QCOMPARE(built->toHex().toUpper(), bytes);
}

void TestRadioCommands::cr31Check_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("7F below the range") << "7F" << false;
    QTest::newRow("80 lowest") << "80" << true;
    QTest::newRow("FF highest") << "FF" << true;
    QTest::newRow("lower case") << "c0" << true;
    QTest::newRow("G0 reads as 0") << "G0" << false;
    QTest::newRow("C and an empty place reads as C") << "C_" << false;
    QTest::newRow("empty box") << "__" << false;
    QTest::newRow("long text does not overflow") << "FFFFFFFFFFFFFFFFFFFF" << false;
}

void TestRadioCommands::cr31Check()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(isAcceptedCR31(text), accepted);
}

QTEST_GUILESS_MAIN(TestRadioCommands)
#include "test_radio_commands.moc"
