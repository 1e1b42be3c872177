#include "dialogs/masked_hex_edit.h"

#include <QTest>

class TestMaskedHexEdit : public QObject {
    Q_OBJECT

private slots:
    void storeText_data()
    {
        QTest::addColumn<int>("pairs");
        QTest::addColumn<QString>("stored");   // given to the box
        QTest::addColumn<QString>("display");  // what it shows then
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("typed");    // from the cursor on; "\b" is Backspace
        QTest::addColumn<QString>("expected"); // what the box gives back
        const QString address = QStringLiteral("0040F4A1B2C3"), shown = QStringLiteral("00 40 F4 A1 B2 C3"),
                      empty = QStringLiteral("__ __ __ __ __ __"), longer = QStringLiteral("0123456789ABCDEF");
        // Unedited: every byte comes back as it was given.
        QTest::newRow("address") << 6 << address << shown << 0 << "" << address;
        QTest::newRow("empty") << 6 << "" << empty << 0 << "" << "";
        QTest::newRow("odd length") << 6 << "0040F" << "00 40 F_ __ __ __" << 0 << "" << "0040F";
        QTest::newRow("longer than the box") << 5 << longer << "01 23 45 67 89" << 0 << "" << longer;
        QTest::newRow("lower case, blank, prompt") << 6 << "00 0f_A1" << "00  0 f_ A1 __ __" << 0 << "" << "00 0f_A1";
        QTest::newRow("not hexadecimal") << 5 << "ZZ-GH!x?yq" << "ZZ -G H! x? yq" << 0 << "" << "ZZ-GH!x?yq";
        QTest::newRow("control characters") << 5 << "\x01\x02" "33\t4" << "__ 33 _4 __ __" << 0 << "" << "\x01\x02" "33\t4";
        QTest::newRow("retyped the same") << 6 << "00_4f" << "00 _4 f_ __ __ __" << 0 << "00" << "00_4f";
        // Edited: the places from the left, upper case; a position without a digit reads "0".
        QTest::newRow("first place") << 6 << address << shown << 0 << "ff" << "FF40F4A1B2C3";
        QTest::newRow("typing skips the blanks") << 6 << address << shown << 1 << "123" << "0123F4A1B2C3";
        QTest::newRow("half a place") << 6 << "" << empty << 0 << "1" << "10";
        QTest::newRow("empty places before a typed one") << 6 << "" << empty << 6 << "AB" << "0000AB";
        QTest::newRow("not hexadecimal typed") << 6 << "FF40F4A1B2C3" << "FF 40 F4 A1 B2 C3" << 0 << "G" << "0F40F4A1B2C3";
        QTest::newRow("odd length completed") << 6 << "0040F" << "00 40 F_ __ __ __" << 7 << "A" << "0040FA";
        QTest::newRow("blank stored, other edited") << 6 << "0011 2AA" << "00 11  2 AA __ __" << 0 << "FF" << "FF1102AA";
        QTest::newRow("longer text cut to the box") << 5 << longer << "01 23 45 67 89" << 0 << "FF" << "FF23456789";
        // Empty places at the end give nothing: the text gets shorter.
        QTest::newRow("last position cleared") << 6 << address << shown << 17 << "\b" << "0040F4A1B2C0";
        QTest::newRow("last place cleared") << 6 << address << shown << 17 << "\b\b" << "0040F4A1B2";
        QTest::newRow("all cleared") << 6 << address << shown << 17 << QString(17, QLatin1Char('\b')) << "";
    }

    void storeText()
    {
        QFETCH(int, pairs);
        QFETCH(QString, stored);
        QFETCH(QString, display);
        QFETCH(int, cursor);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        MaskedHexEdit edit(pairs);
        edit.setStoreText(QStringLiteral("FFFFFFFFFFFF"));  // an earlier value must not linger
        edit.setStoreText(stored);
        QCOMPARE(edit.displayText(), display);
        edit.setCursorPosition(cursor);
        for (const QChar c : typed) {
            if (c == QLatin1Char('\b'))
                QTest::keyClick(&edit, Qt::Key_Backspace);
            else
                QTest::keyClicks(&edit, QString(c));
        }
        QCOMPARE(edit.storeText(), expected);
    }
};

QTEST_MAIN(TestMaskedHexEdit)
#include "tst_masked_hex_edit.moc"
