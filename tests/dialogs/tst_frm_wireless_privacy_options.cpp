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
    void loadAndStore_data();
    void loadAndStore();

private:
    QPointer<QWidget> dialog_;
};

void TestFrmWireLessPrivacyOptions::loadAndStore_data()
{
    QTest::addColumn<QString>("codes");      // key id|WEP enable in the store
    QTest::addColumn<QStringList>("keys");   // keys 1 to 4 in the store
    QTest::addColumn<QString>("chosen");     // key item|enable item chosen by the user; "": untouched
    QTest::addColumn<QString>("typedKey3");  // over the whole of key 3; "": untouched
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("stored");     // key id|WEP enable afterwards
    QTest::addColumn<QString>("key3");       // afterwards; the other keys stay as they were
    const QStringList read{"0102030405", "A1A2A3A4A5", "B1B2B3B4B5", "C1C2C3C4C5"};
    const QStringList odd{"0", "zz zz zz z", "a1 b2_c3", "0102030405060708"};  // short, not hex, too long
    const QByteArray ok("OKCommand");
    // Unedited, OK gives back what the combos were shown: "None" keeps the id, "Disable" is 2.
    QTest::newRow("as read, byte for byte") << "1|1" << odd << "|" << "" << ok << "1|1" << odd[2];
    QTest::newRow("nothing read yet") << "0|0" << QStringList{"", "", "", ""} << "|" << "" << ok << "0|2" << "";
    QTest::newRow("unknown codes") << "5|7" << read << "|" << "" << ok << "5|2" << read[2];
    QTest::newRow("None chosen keeps the id") << "2|1" << read << "None|" << "" << ok << "2|1" << read[2];
    QTest::newRow("key 3 chosen, disabled") << "0|2" << read << "Key 3|" << "" << ok << "3|2" << read[2];
    QTest::newRow("key typed") << "2|0" << read << "Key 4|Enable" << "1a2b3c" << ok << "4|1" << "1A2B3C";
    QTest::newRow("Cancel after edits") << "2|0" << read << "Key 4|Enable" << "1a2b3c"
                                        << QByteArray("CancelCommand") << "2|0" << read[2];
}

void TestFrmWireLessPrivacyOptions::loadAndStore()
{
    QFETCH(QString, codes);
    QFETCH(QStringList, keys);
    QFETCH(QString, chosen);
    QFETCH(QString, typedKey3);
    QFETCH(QByteArray, button);
    QFETCH(QString, stored);
    QFETCH(QString, key3);
    auto &s = config::store();
    s.privacyDefaultWEPKeyID = config::Integer(codes.section('|', 0, 0).toInt());
    s.privacyWEPEnable = config::Integer(codes.section('|', 1, 1).toInt());
    for (int i = 0; i < 4; ++i)
        s.defaultWEPKey(i + 1) = keys.at(i);
    auto *dialog = openDialog<frmWireLessPrivacyOptions>(dialog_);
    const char *combos[] = {"DefaultWepKeyIDCombo", "WepEnableCombo"};
    for (int i = 0; i < 2; ++i) {
        if (!chosen.section('|', i, i).isEmpty())
            control<QComboBox>(dialog, combos[i])->setCurrentText(chosen.section('|', i, i));
    }
    if (!typedKey3.isEmpty()) {
        auto *box = control<MaskedHexEdit>(dialog, "DefaultWepKey3");
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, typedKey3);
    }
    press(dialog, button.constData());
    QVERIFY(dialog_.isNull());
    QCOMPARE(QStringLiteral("%1|%2").arg(s.privacyDefaultWEPKeyID).arg(s.privacyWEPEnable), stored);
    keys[2] = key3;
    QCOMPARE((QStringList{s.defaultWEPKey1, s.defaultWEPKey2, s.defaultWEPKey3, s.defaultWEPKey4}), keys);
}

QTEST_MAIN(TestFrmWireLessPrivacyOptions)
#include "tst_frm_wireless_privacy_options.moc"
