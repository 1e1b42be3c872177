#include "config/configuration_store.h"
#include "dialog_test_support.h"
#include "dialogs/frm_bridge_ip_settings.h"
#include "dialogs/masked_hex_edit.h"

#include <QTest>

class TestFrmBridgeIPSettings : public QObject {
    Q_OBJECT

private slots:
    void init() { config::resetStore(); }
    void cleanup() { delete dialog_; }
    void storesAsTyped_data();
    void storesAsTyped();

private:
    QPointer<QWidget> dialog_;
};

void TestFrmBridgeIPSettings::storesAsTyped_data()
{
    QTest::addColumn<QStringList>("stored");  // address, mask, Ethernet address
    QTest::addColumn<QStringList>("typed");   // the same (Ethernet: keys from its start); empty: untouched
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QStringList>("after");
    const QStringList read{"10.20.30.40", "255.255.255.0", "0040F4A1B2C3"};
    const QStringList odd{" 10.0.0.1 ", "255.0.0.0x", "0G4_F 1B2C"};
    const QStringList typed{"  127.0.0.2 ", "not a mask", "de"};
    QTest::newRow("as read") << read << QStringList{} << QByteArray("OKCommand") << read;
    QTest::newRow("odd, blanks, not hexadecimal") << odd << QStringList{} << QByteArray("OKCommand") << odd;
    QTest::newRow("typed, blanks kept") << read << typed << QByteArray("OKCommand")
                                        << QStringList{"  127.0.0.2 ", "not a mask", "DE40F4A1B2C3"};
    QTest::newRow("Cancel after edits") << read << typed << QByteArray("CancelCommand") << read;
}

void TestFrmBridgeIPSettings::storesAsTyped()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, typed);
    QFETCH(QByteArray, button);
    QFETCH(QStringList, after);
    auto &store = config::store();
    store.operIPAddress = stored.at(0);
    store.operIPMask = stored.at(1);
    store.operEthernetAddress = stored.at(2);
    auto *dialog = openDialog<frmBridgeIPSettings>(dialog_);
    if (!typed.isEmpty()) {
        setText(dialog, "IPAddressText", typed.at(0));
        setText(dialog, "IPMaskText", typed.at(1));
        auto *ethernet = control<MaskedHexEdit>(dialog, "EthernetAddressMaskEdBox");
        ethernet->setCursorPosition(0);
        QTest::keyClicks(ethernet, typed.at(2));
    }
    press(dialog, button.constData());
    QVERIFY(dialog_.isNull());
    QCOMPARE((QStringList{store.operIPAddress, store.operIPMask, store.operEthernetAddress}), after);
}

QTEST_MAIN(TestFrmBridgeIPSettings)
#include "tst_frm_bridge_ip_settings.moc"
