// The byte and text forms of the store's values: hex texts, the ESSID
// length, channel tables, counters, the radio test command, and WEP keys
// from a pass phrase.

#include "config/counters.h"
#include "config/encodings.h"
#include "config/radio_commands.h"
#include "config/wep_keys.h"

#include <QtTest>

using namespace config;

class TestEncodings : public QObject {
    Q_OBJECT
private slots:
    void bytesToHex_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("hex");
        QTest::newRow("leading zeros, upper case") << QByteArray("\x00\x0F\xA0", 3) << 3 << true << "000FA0";
        QTest::newRow("too short fails") << QByteArray("\x00\x0F\xA0", 3) << 4 << false << "";
        QTest::newRow("only the first n bytes") << QByteArray("\x82\x84\x8B\x96\xFF", 5) << 4 << true << "82848B96";
        QTest::newRow("zero bytes") << QByteArray() << 0 << true << "";
    }

    void bytesToHex()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, n);
        QFETCH(bool, ok);
        QFETCH(QString, hex);
        const auto result = BytesToHex(data, n);
        QCOMPARE(result.has_value(), ok);
        if (ok)
            QCOMPARE(*result, hex);
    }

    void hexToBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("rates") << "82848B96" << 4 << QByteArray("\x82\x84\x8B\x96", 4);
        QTest::newRow("short text pads with zero bytes") << "8284" << 4 << QByteArray("\x82\x84\x00\x00", 4);
        QTest::newRow("lower case") << "0a0b0c0d0e" << 5 << QByteArray("\x0A\x0B\x0C\x0D\x0E", 5);
        QTest::newRow("8-digit WEP key gets a zero byte") << "11223344" << 5 << QByteArray("\x11\x22\x33\x44\x00", 5);
        QTest::newRow("non-hex pair is zero") << "G0ZZ" << 2 << QByteArray("\x00\x00", 2);
        QTest::newRow("leading digit of a pair counts") << "8_C_" << 2 << QByteArray("\x08\x0C", 2);
        QTest::newRow("odd length") << "123" << 2 << QByteArray("\x12\x03", 2);
        QTest::newRow("blanks are not digits") << "82 84" << 2 << QByteArray("\x82\x00", 2);
    }

    void hexToBytes()
    {
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(QByteArray, bytes);
        QCOMPARE(HexToBytes(text, n), bytes);
    }

    void hexRoundTripKeepsEveryByte()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        QCOMPARE(HexToBytes(*BytesToHex(all, 256), 256), all);
    }

    void essidLength_data()
    {
        QTest::addColumn<QString>("essid");
        QTest::addColumn<int>("length");
        QTest::newRow("plain") << "corvane" << 7;
        QTest::newRow("stops at a blank") << "abc def" << 3;
        QTest::newRow("leading blank") << " abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("tilde counts, DEL does not") << QStringLiteral("a~\x7F" "b") << 2;
        QTest::newRow("Latin-1 letter stops") << QStringLiteral("ab\u00E9cd") << 2;
    }

    void essidLength()
    {
        QFETCH(QString, essid);
        QFETCH(int, length);
        QCOMPARE(EssidLength(essid), length);
    }

    void channelTable_data()
    {
        QTest::addColumn<int>("domain");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("position");
        const QStringList eleven = channelItems(16);
        QTest::newRow("FCC") << 16 << eleven << 6 << 5;
        QTest::newRow("DOC") << 32 << eleven << 11 << 10;
        QTest::newRow("ETSI channel 13") << 48 << channelItems(48) << 13 << 12;
        QTest::newRow("SPAIN") << 49 << QStringList{"Channel 10", "Channel 11"} << 11 << 1;
        QTest::newRow("SPAIN, channel 6 not listed") << 49 << QStringList{"Channel 10", "Channel 11"} << 6 << -1;
        QTest::newRow("FRANCE") << 50 << QStringList{"Channel 10", "Channel 11", "Channel 12", "Channel 13"} << 10 << 0;
        QTest::newRow("MKK") << 64 << QStringList{"Channel 14"} << 14 << 0;
        QTest::newRow("unknown domain") << 33 << QStringList{} << 1 << -1;
    }

    void channelTable()
    {
        QFETCH(int, domain);
        QFETCH(QStringList, items);
        QFETCH(int, channel);
        QFETCH(int, position);
        QCOMPARE(channelItems(domain), items);
        QCOMPARE(positionOfChannel(domain, channel), position);
        if (position >= 0)
            QCOMPARE(channelAtPosition(domain, position), std::optional<int>(channel));
        QVERIFY(!channelAtPosition(domain, int(items.size())).has_value());
        QVERIFY(!channelAtPosition(domain, -1).has_value());
    }

    void counters_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("k");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<quint32>("value");
        QTest::newRow("0,1,0,0 is 256") << QByteArray("\x00\x01\x00\x00", 4) << 1 << true << quint32(256);
        // Large counters are ordinary on a busy network and must not fail.
        QTest::newRow("0,0,0,33") << QByteArray("\x00\x00\x00\x21", 4) << 1 << true << quint32(0x21000000);
        QTest::newRow("second counter") << QByteArray("\x00\x00\x00\x00\x01\x02\x03\x04", 8) << 2 << true
                                        << quint32(0x04030201);
        QTest::newRow("past the end") << QByteArray(88, '\x01') << 23 << false << quint32(0);
    }

    void counters()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, k);
        QFETCH(bool, ok);
        QFETCH(quint32, value);
        const auto counter = CounterFromBytes(data, k);
        QCOMPARE(counter.has_value(), ok);
        if (ok)
            QCOMPARE(*counter, value);
    }

    // The radio test command built from the store's test fields.
    void commandStruct_data()
    {
        QTest::addColumn<QVector<int>>("fields");  // channel, antenna, rate, Tx filter, command
        QTest::addColumn<QString>("cr31");
        QTest::addColumn<QByteArray>("bytes");  // channel, antenna, CR31, rate, filter, command, 0, 0; empty: none
        QTest::newRow("window defaults, start") << QVector<int>{1, 1, 3, 1, 4} << "C0" << QByteArray("0101C00301040000");
        QTest::newRow("channel 14, B, 1M, JPN, Rx") << QVector<int>{14, 2, 0, 2, 2} << "ff" << QByteArray("0E02FF0002020000");
        QTest::newRow("empty place reads as no digit") << QVector<int>{6, 1, 1, 1, 1} << "C_" << QByteArray("06010C0101010000");
        QTest::newRow("field beyond a byte") << QVector<int>{300, 1, 3, 1, 4} << "C0" << QByteArray();
    }

    void commandStruct()
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

    // Against keys computed apart from the console by wep_keys_reference.py
    // (beside this file; run it to see where each expected key comes from).
    void knownAnswers_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QStringList>("keys");
        const QStringList emptyPhraseKeys{"2627F68597", "15AD1DD294", "DDC4761939", "31F1ADB558"};
        QTest::newRow("empty") << QString() << emptyPhraseKeys;
        // Each accumulator takes the same code twice: the seed is 0 again.
        QTest::newRow("block written twice") << QStringLiteral("WXYZWXYZ") << emptyPhraseKeys;
        // é (0xE9) in the fourth place: the seed is 0xE9636261, above 2^31.
        QTest::newRow("A3 of 128 or more") << QStringLiteral("abc\u00e9")
                                           << QStringList{"41192B542A", "6473463AC1", "F33A3D5A83", "BD5C452EBD"};
        QTest::newRow("Latin-1 above 127") << QStringLiteral("Gr\u00fc\u00dfe aus K\u00f6ln")
                                           << QStringList{"DB33E3DA4F", "95BF7DFEFC", "6D08E10E4D", "69F75A01CE"};
        QTest::newRow("long") << QStringLiteral("correct horse battery staple ").repeated(20)
                              << QStringList{"BE9B142B52", "CB022A3D93", "518A74243E", "25BD3A61C1"};
        // The euro sign has no Latin-1 code: it counts as "?".
        QTest::newRow("outside Latin-1") << QStringLiteral("\u20ac5")
                                         << QStringList{"07CF4FFA63", "1C892981FD", "70141D532F", "CD51DE5C23"};
    }

    void knownAnswers()
    {
        QFETCH(QString, phrase);
        QFETCH(QStringList, keys);
        config::GenerateWepKeys(phrase);
        QCOMPARE((QStringList{config::GeneratedWepKey1, config::GeneratedWepKey2, config::GeneratedWepKey3,
                              config::GeneratedWepKey4}),
                 keys);
    }
};

QTEST_GUILESS_MAIN(TestEncodings)
#include "test_encodings.moc"
