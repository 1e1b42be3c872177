#include "dialogs/masked_hex_edit.h"

#include <QTest>

class TestMaskedHexEdit : public QObject {
    Q_OBJECT

private slots:
    void masks();
    void unchangedRoundTrip_data();
    void unchangedRoundTrip();
    void editedPlaces_data();
    void editedPlaces();
    void undoneEditGivesOriginalBack();
};

void TestMaskedHexEdit::masks()
{
    MaskedHexEdit address(6), key(5);
    QCOMPARE(address.maskText(), QStringLiteral("&& && && && && &&"));
    QCOMPARE(address.displayText(), QStringLiteral("__ __ __ __ __ __"));
    QCOMPARE(key.maskText(), QStringLiteral("&& && && && &&"));
    QCOMPARE(key.maxLength(), 14);
}

void TestMaskedHexEdit::unchangedRoundTrip_data()
{
    QTest::addColumn<int>("pairs");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("display");
    QTest::newRow("address") << 6 << "0040F4A1B2C3" << "00 40 F4 A1 B2 C3";
    QTest::newRow("key") << 5 << "0123456789" << "01 23 45 67 89";
    QTest::newRow("empty") << 6 << "" << "__ __ __ __ __ __";
    QTest::newRow("odd length") << 6 << "0040F" << "00 40 F_ __ __ __";
    QTest::newRow("longer than the box") << 5 << "0123456789ABCDEF" << "01 23 45 67 89";
    QTest::newRow("lower case") << 6 << "0040f4a1b2c3" << "00 40 f4 a1 b2 c3";
    QTest::newRow("blank inside") << 6 << "00 0F4A1B2C3" << "00  0 F4 A1 B2 C3";
    QTest::newRow("prompt inside") << 6 << "00_0F4A1B2C3" << "00 _0 F4 A1 B2 C3";
    QTest::newRow("display form stored") << 6 << "00 40 F4 A1 B2 C3" << "00  4 0  F4  A 1 ";
    QTest::newRow("not hexadecimal") << 5 << "ZZ-GH!x?yq" << "ZZ -G H! x? yq";
    QTest::newRow("control characters") << 5 << QString::fromLatin1("\x01\x02" "33\t4") << "__ 33 _4 __ __";
    QTest::newRow("non-ASCII") << 5 << QString::fromUtf8("\xc3\x84" "1") << QString::fromUtf8("\xc3\x84" "1 __ __ __ __");
}

void TestMaskedHexEdit::unchangedRoundTrip()
{
    QFETCH(int, pairs);
    QFETCH(QString, stored);
    QFETCH(QString, display);
    MaskedHexEdit edit(pairs);
    edit.setStoreText(QStringLiteral("FFFFFFFFFFFF"));  // an earlier value must not linger
    edit.setStoreText(stored);
    QCOMPARE(edit.displayText(), display);
    QCOMPARE(edit.storeText(), stored);
}

void TestMaskedHexEdit::editedPlaces_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("typed");  // "\b" is Backspace
    QTest::addColumn<QString>("expected");
    QTest::newRow("first place, upper-cased") << "0040F4A1B2C3" << 0 << "ff" << "FF40F4A1B2C3";
    QTest::newRow("typing skips the blanks") << "0040F4A1B2C3" << 1 << "123" << "0123F4A1B2C3";
    QTest::newRow("empty box, one place") << "" << 0 << "12" << "12";
    QTest::newRow("half a place") << "" << 0 << "1" << "10";
    QTest::newRow("empty places before a typed one") << "" << 6 << "AB" << "0000AB";
    QTest::newRow("cleared last position") << "0040F4A1B2C3" << 17 << "\b" << "0040F4A1B2C0";
    QTest::newRow("cleared last place") << "0040F4A1B2C3" << 17 << "\b\b" << "0040F4A1B2";
    QTest::newRow("prompt typed clears") << "0040F4A1B2C3" << 3 << "_" << "0000F4A1B2C3";
    QTest::newRow("blank typed") << "FF40F4A1B2C3" << 0 << " " << "0F40F4A1B2C3";
    QTest::newRow("not hexadecimal typed") << "FF40F4A1B2C3" << 0 << "G" << "0F40F4A1B2C3";
    QTest::newRow("odd length completed") << "0040F" << 7 << "A" << "0040FA";
    QTest::newRow("stored blank, other place edited") << "0011 2AABBCC" << 0 << "FF" << "FF1102AABBCC";
    QTest::newRow("longer text cut to the box") << "0123456789ABCDEF" << 0 << "FF" << "FF23456789";
}

void TestMaskedHexEdit::editedPlaces()
{
    QFETCH(QString, stored);
    QFETCH(int, cursor);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    MaskedHexEdit edit(stored.size() > 12 ? 5 : 6);
    edit.setStoreText(stored);
    edit.setCursorPosition(cursor);
    for (const QChar c : typed) {
        if (c == QLatin1Char('\b'))
            QTest::keyClick(&edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(&edit, QString(c));
    }
    QCOMPARE(edit.storeText(), expected);
}

void TestMaskedHexEdit::undoneEditGivesOriginalBack()
{
    MaskedHexEdit edit(6);
    edit.setStoreText(QStringLiteral("00_4f"));
    edit.setCursorPosition(0);
    QTest::keyClicks(&edit, QStringLiteral("99"));
    QCOMPARE(edit.storeText(), QStringLiteral("9904F0"));
    edit.setCursorPosition(0);
    QTest::keyClicks(&edit, QStringLiteral("00"));
    QCOMPARE(edit.storeText(), QStringLiteral("00_4f"));
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.storeText(), QString());
}

QTEST_MAIN(TestMaskedHexEdit)
#include "tst_masked_hex_edit.moc"
