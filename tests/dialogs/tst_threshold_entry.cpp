#include "dialogs/threshold_validation.h"
#include "dialogs/up_down_control.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>

class TestThresholdEntry : public QObject {
    Q_OBJECT

private slots:
    void textToThreshold_data();
    void textToThreshold();
    void upDownSteps_data();
    void upDownSteps();
};

void TestThresholdEntry::textToThreshold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");  // -1000000: refused
    const int refused = -1000000;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("leading zeros, blanks") << "  0042 " << 42;
    QTest::newRow("signs") << "+7" << 7;
    QTest::newRow("16-bit ends") << "-32768" << -32768;
    QTest::newRow("16-bit top") << "32767" << 32767;
    QTest::newRow("just above") << "32768" << refused;
    QTest::newRow("just below") << "-32769" << refused;
    QTest::newRow("huge") << "99999999999999999999999" << refused;
    QTest::newRow("empty") << "" << refused;
    QTest::newRow("sign only") << "-" << refused;
    QTest::newRow("two signs") << "--1" << refused;
    QTest::newRow("fraction") << "1.5" << refused;
    QTest::newRow("exponent") << "1e3" << refused;
    QTest::newRow("hexadecimal") << "0x10" << refused;
    QTest::newRow("inner blank") << "1 2" << refused;
    QTest::newRow("non-ASCII digit") << QString::fromUtf8("\xd9\xa3") << refused;  // Arabic-Indic three
}

void TestThresholdEntry::textToThreshold()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    const auto threshold = dialogs::thresholdFromText(text);
    QCOMPARE(threshold ? int(*threshold) : -1000000, value);
}

void TestThresholdEntry::upDownSteps_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("key");  // Qt::Key_Up / Key_Down in the box, 0: the arrow buttons
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("after");
    QTest::newRow("up arrow") << "5" << 0 << 1 << "6";
    QTest::newRow("down arrow") << "5" << 0 << -1 << "4";
    QTest::newRow("up key") << "5" << int(Qt::Key_Up) << 1 << "6";
    QTest::newRow("at the top") << "2346" << 0 << 1 << "2346";
    QTest::newRow("at the bottom") << "0" << int(Qt::Key_Down) << -1 << "0";
    QTest::newRow("typed above the range") << "5000" << 0 << -1 << "2345";
    QTest::newRow("typed below the range") << "-3" << 0 << 1 << "1";
    QTest::newRow("no number: from the last one") << "abc" << 0 << 1 << "8";
}

void TestThresholdEntry::upDownSteps()
{
    QFETCH(QString, shown);
    QFETCH(int, key);
    QFETCH(int, steps);
    QFETCH(QString, after);
    QLineEdit buddy(QStringLiteral("7"));
    UpDownControl upDown(&buddy, 0, 2346);
    buddy.setText(shown);
    QCOMPARE(buddy.text(), shown);  // the box takes any text
    if (key != 0)
        QTest::keyClick(&buddy, Qt::Key(key));
    else
        upDown.findChild<QToolButton *>(steps > 0 ? "upArrow" : "downArrow")->click();
    QCOMPARE(buddy.text(), after);
}

QTEST_MAIN(TestThresholdEntry)
#include "tst_threshold_entry.moc"
