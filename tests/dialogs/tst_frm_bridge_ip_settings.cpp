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
    void okWithoutEditsKeepsEveryByte_data();
    void okWithoutEditsKeepsEveryByte();
    void okStoresAsTypedCancelStoresNothing_data();
    void okStoresAsTypedCancelStoresNothing();

private:
    QPointer<QWidget> dialog_;
};

void TestFrmBridgeIPSettings::okWithoutEditsKeepsEveryByte_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("ethernet");
    QTest::newRow("as read") << "10.20.30.40" << "255.255.255.0" << "0040F4A1B2C3";
    QTest::newRow("nothing read yet") << "" << "" << "";
    QTest::newRow("odd, blanks, not hexadecimal") << " 10.0.0.1 " << "255.0.0.0x" << "0G4_F 1B2C";
    QTest::newRow("longer than the box") << "1.2.3.4" << "0.0.0.0" << "0040F4A1B2C3D4";
}

void TestFrmBridgeIPSettings::okWithoutEditsKeepsEveryByte()
{
    QFETCH(QString, address);
    QFETCH(QString, mask);
    QFETCH(QString, ethernet);
    auto &store = config::store();
    store.operIPAddress = address;
    store.operIPMask = mask;
    store.operEthernetAddress = ethernet;
    auto *dialog = openDialog<frmBridgeIPSettings>(dialog_);
    QCOMPARE(control<QLineEdit>(dialog, "IPAddressText")->text(), address);
    QCOMPARE(control<QLineEdit>(dialog, "IPMaskText")->text(), mask);
    QCOMPARE(control<MaskedHexEdit>(dialog, "EthernetAddressMaskEdBox")->pairCount(), 6);
    press(dialog, "OKCommand");
    QCOMPARE(store.operIPAddress, address);
    QCOMPARE(store.operIPMask, mask);
    QCOMPARE(store.operEthernetAddress, ethernet);
}

void TestFrmBridgeIPSettings::okStoresAsTypedCancelStoresNothing_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::newRow("OK") << QByteArray("OKCommand");
    QTest::newRow("Cancel") << QByteArray("CancelCommand");
}

void TestFrmBridgeIPSettings::okStoresAsTypedCancelStoresNothing()
{
    QFETCH(QByteArray, button);
    auto &store = config::store();
    store.operIPAddress = QStringLiteral("127.0.0.1");
    store.operIPMask = QStringLiteral("255.0.0.0");
    store.operEthernetAddress = QStringLiteral("0040F4A1B2C3");
    auto *dialog = openDialog<frmBridgeIPSettings>(dialog_);
    setText(dialog, "IPAddressText", QStringLiteral("  127.0.0.2 "));
    setText(dialog, "IPMaskText", QStringLiteral("not a mask"));
    auto *ethernet = control<MaskedHexEdit>(dialog, "EthernetAddressMaskEdBox");
    ethernet->setCursorPosition(15);
    QTest::keyClicks(ethernet, QStringLiteral("de"));
    press(dialog, button.constData());
    QVERIFY(dialog_.isNull());
    const bool ok = button == "OKCommand";
    QCOMPARE(store.operIPAddress, ok ? QStringLiteral("  127.0.0.2 ") : QStringLiteral("127.0.0.1"));
    QCOMPARE(store.operIPMask, ok ? QStringLiteral("not a mask") : QStringLiteral("255.0.0.0"));
    QCOMPARE(store.operEthernetAddress, ok ? QStringLiteral("0040F4A1B2DE") : QStringLiteral("0040F4A1B2C3"));
}

QTEST_MAIN(TestFrmBridgeIPSettings)
#include "tst_frm_bridge_ip_settings.moc"
