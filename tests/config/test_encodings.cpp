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
    void bytesToHex()
    {
        using Hex = std::optional<QString>;
        QCOMPARE(BytesToHex(QByteArray("\x00\x0F\xA0", 3), 3), Hex("000FA0"));  // leading zeros, upper case
        QCOMPARE(BytesToHex(QByteArray("\x00\x0F\xA0", 3), 4), Hex());          // too short
        QCOMPARE(BytesToHex(QByteArray("\x82\x84\x8B\x96\xFF", 5), 4), Hex("82848B96"));
        QCOMPARE(BytesToHex(QByteArray(), 0), Hex(""));
    }

    void hexToBytes()
    {
        QCOMPARE(HexToBytes("8284", 4), QByteArray("\x82\x84\x00\x00", 4));  // short text pads with zero bytes
        QCOMPARE(HexToBytes("0a0b0c0d0e", 5), QByteArray("\x0A\x0B\x0C\x0D\x0E", 5));
        QCOMPARE(HexToBytes("11223344", 5), QByteArray("\x11\x22\x33\x44\x00", 5));  // 8-digit WEP key
        QCOMPARE(HexToBytes("G0ZZ", 2), QByteArray("\x00\x00", 2));  // a non-hex pair is zero
        QCOMPARE(HexToBytes("8_C_", 2), QByteArray("\x08\x0C", 2));  // the leading digit of a pair counts
        QCOMPARE(HexToBytes("123", 2), QByteArray("\x12\x03", 2));
        QCOMPARE(HexToBytes("82 84", 2), QByteArray("\x82\x00", 2));  // blanks are not digits
    }

    void essidLength()
    {
        QCOMPARE(EssidLength("corvane"), 7);
        QCOMPARE(EssidLength("abc def"), 3);
        QCOMPARE(EssidLength(" abc"), 0);
        QCOMPARE(EssidLength(""), 0);
        QCOMPARE(EssidLength(QStringLiteral("a~\x7F" "b")), 2);   // tilde counts, DEL does not
        QCOMPARE(EssidLength(QStringLiteral("ab\u00E9cd")), 2);  // a Latin-1 letter stops it
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

    void counters()
    {
        using Counter = std::optional<quint32>;
        QCOMPARE(CounterFromBytes(QByteArray("\x00\x01\x00\x00", 4), 1), Counter(256));
        // Large counters are ordinary on a busy network and must not fail.
        QCOMPARE(CounterFromBytes(QByteArray("\x00\x00\x00\x21", 4), 1), Counter(0x21000000));
        QCOMPARE(CounterFromBytes(QByteArray("\x00\x00\x00\x00\x01\x02\x03\x04", 8), 2), Counter(0x04030201));
        QCOMPARE(CounterFromBytes(QByteArray(88, '\x01'), 23), Counter());  // past the end
    }

    // The radio test command built from the store's test fields.
    void commandStruct_data()
    {
        QTest::addColumn<QVector<int>>("fields");  // channel, antenna, rate, Tx filter, command
        QTest::addColumn<QString>("cr31");
        QTest::addColumn<QByteArray>("bytes");  // channel, antenna, CR31, rate, filter, command, 0, 0; empty: none
        QTest::newRow("window defaults, start") << QVector<int>{1, 1, 3, 1, 4} << "C0" << QByteArray("0101C00301040000");
        // Every field a value of its own: a field in another's place shows.
        QTest::newRow("channel 14, B, 1M, US, carrier") << QVector<int>{14, 2, 0, 1, 3} << "ff" << QByteArray("0E02FF0001030000");
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
        QTest::newRow("A3 of 128 or more, from a Latin-1 letter above 127") << QStringLiteral("abc\u00e9")
                                           << QStringList{"41192B542A", "6473463AC1", "F33A3D5A83", "BD5C452EBD"};
        QTest::newRow("long") << QStringLiteral("correct horse battery staple ").repeated(20)
                              << QStringList{"BE9B142B52", "CB022A3D93", "518A74243E", "25BD3A61C1"};
        // Windows-1252 codes: the euro sign is 0x80, the closing quote 0x92;
        // a character outside the code page counts as "?".
        QTest::newRow("euro sign") << QStringLiteral("\u20acuro")
                                   << QStringList{"85E915F4DF", "79C50398E1", "1D92654BA9", "CF4CFAB4A9"};
        QTest::newRow("curly quote") << QStringLiteral("it\u2019s")
                                     << QStringList{"96F48ED339", "144F682A6F", "EFB11B824C", "20807C2192"};
        QTest::newRow("outside the code page") << QStringLiteral("\u0100x")
                                               << QStringList{"D209CCFFDF", "03C0BE0E73", "B934C92C11", "E3DBDC8D0A"};
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
