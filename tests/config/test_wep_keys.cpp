// Keys from a pass phrase, against keys computed apart from the console by
// wep_keys_reference.py (beside this file; run it to see where each
// expected key comes from).

#include "config/wep_keys.h"

#include <QtTest>

class TestWepKeys : public QObject {
    Q_OBJECT

private slots:
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

QTEST_GUILESS_MAIN(TestWepKeys)
#include "test_wep_keys.moc"
