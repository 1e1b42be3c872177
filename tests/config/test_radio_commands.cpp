// The radio test command's bytes, built from the store's test fields.

#include "config/radio_commands.h"

#include <QtTest>

using namespace config;

class TestRadioCommands : public QObject {
    Q_OBJECT
private slots:
    void commandStruct_data();
    void commandStruct();
};

void TestRadioCommands::commandStruct_data()
{
    QTest::addColumn<QVector<int>>("fields");  // channel, antenna, rate, Tx filter, command
    QTest::addColumn<QString>("cr31");
    QTest::addColumn<QByteArray>("bytes");  // channel, antenna, CR31, rate, filter, command, 0, 0; empty: none
    QTest::newRow("window defaults, start") << QVector<int>{1, 1, 3, 1, 4} << "C0" << QByteArray("0101C00301040000");
    QTest::newRow("channel 14, B, 1M, JPN, Rx") << QVector<int>{14, 2, 0, 2, 2} << "ff" << QByteArray("0E02FF0002020000");
    QTest::newRow("empty place reads as no digit") << QVector<int>{6, 1, 1, 1, 1} << "C_" << QByteArray("06010C0101010000");
    QTest::newRow("field beyond a byte") << QVector<int>{300, 1, 3, 1, 4} << "C0" << QByteArray();
}

void TestRadioCommands::commandStruct()
{
    QFETCH(QVector<int>, fields);
    QFETCH(QString, cr31);
    QFETCH(QByteArray, bytes);
    ConfigurationStore store;
    store.testModeChannel = Integer(fields[0]);
    store.testModeAntenna = Integer(fields[1]);
    store.testModeRate = Integer(fields[2]);
    store.testModeTxFilter = Integer(fields[3]);
    store.testModeCR31 = cr31;
    const std::optional<QByteArray> built = testModeCommandStruct(store, Integer(fields[4]));
    QCOMPARE(built.value_or(QByteArray()).toHex().toUpper(), bytes);
}

QTEST_GUILESS_MAIN(TestRadioCommands)
#include "test_radio_commands.moc"
