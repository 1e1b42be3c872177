#include "config/configuration_store.h"
#include "dialog_test_support.h"
#include "dialogs/frm_wireless_privacy_options.h"
#include "dialogs/masked_hex_edit.h"

#include <QComboBox>
#include <QTest>

class TestFrmWireLessPrivacyOptions : public QObject {
    Q_OBJECT

private slots:
    void init() { config::resetStore(); }
    void cleanup() { delete dialog_; }
    void keyIdAndEnable_data();
    void keyIdAndEnable();
    void okWithoutEditsKeepsKeysByteForByte_data();
    void okWithoutEditsKeepsKeysByteForByte();
    void editedKeyOkAndCancel();

private:
    QPointer<QWidget> dialog_;
};

void TestFrmWireLessPrivacyOptions::keyIdAndEnable_data()
{
    QTest::addColumn<int>("keyId");
    QTest::addColumn<int>("enable");
    QTest::addColumn<QString>("shown");   // key combo, enable combo
    QTest::addColumn<QString>("chosen");  // key item picked before OK, empty for none
    QTest::addColumn<QString>("stored");  // key id, enable after OK
    QTest::newRow("key 1, enabled") << 1 << 1 << "Key 1 Enable" << "" << "1 1";
    QTest::newRow("key 4, disabled") << 4 << 2 << "Key 4 Disable" << "" << "4 2";
    QTest::newRow("nothing read yet") << 0 << 0 << "None Disable" << "" << "0 2";
    QTest::newRow("unknown codes") << 5 << 7 << "None Disable" << "" << "5 2";
    QTest::newRow("None chosen keeps the number") << 2 << 1 << "Key 2 Enable" << "None" << "2 1";
    QTest::newRow("key 3 chosen") << 0 << 2 << "None Disable" << "Key 3" << "3 2";
}

void TestFrmWireLessPrivacyOptions::keyIdAndEnable()
{
    QFETCH(int, keyId);
    QFETCH(int, enable);
    QFETCH(QString, shown);
    QFETCH(QString, chosen);
    QFETCH(QString, stored);
    auto &s = config::store();
    s.privacyDefaultWEPKeyID = config::Integer(keyId);
    s.privacyWEPEnable = config::Integer(enable);
    auto *dialog = openDialog<frmWireLessPrivacyOptions>(dialog_);
    auto *keyCombo = control<QComboBox>(dialog, "DefaultWepKeyIDCombo");
    QCOMPARE(keyCombo->currentText() + ' ' + control<QComboBox>(dialog, "WepEnableCombo")->currentText(), shown);
    if (!chosen.isEmpty())
        keyCombo->setCurrentText(chosen);
    press(dialog, "OKCommand");
    QVERIFY(dialog_.isNull());
    QCOMPARE(QStringLiteral("%1 %2").arg(s.privacyDefaultWEPKeyID).arg(s.privacyWEPEnable), stored);
}

void TestFrmWireLessPrivacyOptions::okWithoutEditsKeepsKeysByteForByte_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("as read") << QStringList{"0102030405", "A1A2A3A4A5", "B1B2B3B4B5", "C1C2C3C4C5"};
    QTest::newRow("nothing read yet") << QStringList{"", "", "", ""};
    QTest::newRow("odd lengths") << QStringList{"0", "012", "0123456", "012345678"};
    QTest::newRow("not hexadecimal") << QStringList{"zz zz zz z", "__________", "a1 b2_c3", "\xc3\x84\xc3\x96" "12\t"};
    QTest::newRow("longer than a key") << QStringList{"0102030405060708", "A1A2A3A4A5A6", "B1", "C1C2C3C4C5C"};
}

void TestFrmWireLessPrivacyOptions::okWithoutEditsKeepsKeysByteForByte()
{
    QFETCH(QStringList, keys);
    auto &s = config::store();
    for (int i = 0; i < 4; ++i)
        s.defaultWEPKey(i + 1) = keys.at(i);
    auto *dialog = openDialog<frmWireLessPrivacyOptions>(dialog_);
    QCOMPARE(control<MaskedHexEdit>(dialog, "DefaultWepKey4")->pairCount(), 5);
    press(dialog, "OKCommand");
    for (int i = 0; i < 4; ++i)
        QCOMPARE(s.defaultWEPKey(i + 1), keys.at(i));
}

void TestFrmWireLessPrivacyOptions::editedKeyOkAndCancel()
{
    for (const char *button : {"CancelCommand", "OKCommand"}) {
        config::resetStore();
        auto &s = config::store();
        s.defaultWEPKey3 = QStringLiteral("B1B2B3B4B5");
        s.defaultWEPKey4 = QStringLiteral("C1C2C3C4C5");
        s.privacyDefaultWEPKeyID = 2;
        auto *dialog = openDialog<frmWireLessPrivacyOptions>(dialog_);
        auto *key3 = control<MaskedHexEdit>(dialog, "DefaultWepKey3");
        key3->selectAll();
        QTest::keyClick(key3, Qt::Key_Backspace);
        QTest::keyClicks(key3, QStringLiteral("1a2b3c"));
        control<QComboBox>(dialog, "DefaultWepKeyIDCombo")->setCurrentIndex(3);
        control<QComboBox>(dialog, "WepEnableCombo")->setCurrentIndex(0);
        press(dialog, button);
        const bool ok = QByteArray(button) == "OKCommand";
        QCOMPARE(s.defaultWEPKey3, ok ? QStringLiteral("1A2B3C") : QStringLiteral("B1B2B3B4B5"));
        QCOMPARE(s.defaultWEPKey4, QStringLiteral("C1C2C3C4C5"));
        QCOMPARE(int(s.privacyDefaultWEPKeyID), ok ? 4 : 2);
        QCOMPARE(int(s.privacyWEPEnable), ok ? 1 : 0);
    }
}

QTEST_MAIN(TestFrmWireLessPrivacyOptions)
#include "tst_frm_wireless_privacy_options.moc"
