#include "config/configuration_store.h"
#include "dialog_test_support.h"
#include "dialogs/frm_bridge_operational_mode.h"
#include "dialogs/masked_hex_edit.h"

#include <QLabel>
#include <QTest>

class TestFrmBridgeOperationalMode : public QObject {
    Q_OBJECT

private slots:
    void init() { config::resetStore(); }
    void cleanup() { delete dialog_; }
    void modes_data();
    void modes();

private:
    QPointer<QWidget> dialog_;
};

void TestFrmBridgeOperationalMode::modes_data()
{
    QTest::addColumn<int>("mode");           // in the store; its BSSID is always 0040F4112233
    QTest::addColumn<QString>("shown");      // in the BSSID box after loading
    QTest::addColumn<QByteArray>("chosen");  // option clicked by the user
    QTest::addColumn<QString>("enabled");    // BSSID box and Label5 then, as "1 1"
    QTest::addColumn<QString>("typed");      // into the box from its start
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("after");  // mode|BSSID in the store
    const QString address = QStringLiteral("00 40 F4 11 22 33"), maskOnly = QStringLiteral("__ __ __ __ __ __");
    const QByteArray none, ok("OKCommand"), wbToWb("WirelessBridgeToWirelessBridgeOption"),
        wb("WirelessBridgeOption"), ap("APOption");
    // Unedited, OK gives back the mode whose option was shown selected.
    QTest::newRow("WB to WB") << 1 << address << none << "1 1" << "" << ok << "1|0040F4112233";
    QTest::newRow("access point") << 2 << maskOnly << none << "0 0" << "" << ok << "2|0040F4112233";
    QTest::newRow("wireless bridge") << 3 << address << none << "1 1" << "" << ok << "3|0040F4112233";
    QTest::newRow("nothing read yet") << 0 << maskOnly << none << "0 1" << "" << ok << "0|0040F4112233";
    QTest::newRow("bridge to access point") << 3 << address << ap << "0 0" << "" << ok << "2|0040F4112233";
    QTest::newRow("access point to WB to WB, typed")
        << 2 << maskOnly << wbToWb << "1 1" << "0a0b0c0d0e0f" << ok << "1|0A0B0C0D0E0F";
    // A bridge mode chosen over an empty box shows the stored partner, so
    // what OK sends is what the user sees.
    QTest::newRow("no mode to bridge, typed over the stored partner")
        << 0 << maskOnly << wb << "1 1" << "aabb" << ok << "3|AABBF4112233";
    QTest::newRow("Cancel after switching")
        << 2 << maskOnly << wb << "1 1" << "ff" << QByteArray("CancelCommand") << "2|0040F4112233";
}

void TestFrmBridgeOperationalMode::modes()
{
    QFETCH(int, mode);
    QFETCH(QString, shown);
    QFETCH(QByteArray, chosen);
    QFETCH(QString, enabled);
    QFETCH(QString, typed);
    QFETCH(QByteArray, button);
    QFETCH(QString, after);
    auto &store = config::store();
    store.bridgeOperationalMode = config::Integer(mode);
    store.bridgeRemoteBridgeBSSID = QStringLiteral("0040F4112233");
    auto *dialog = openDialog<frmBridgeOperationalMode>(dialog_);
    auto *box = control<MaskedHexEdit>(dialog, "RemoteBridgeBSSIDMaskEdBox");
    QCOMPARE(box->displayText(), shown);
    if (!chosen.isEmpty())
        control<QAbstractButton>(dialog, chosen.constData())->click();
    QCOMPARE(QStringLiteral("%1 %2").arg(box->isEnabled()).arg(control<QLabel>(dialog, "Label5")->isEnabled()),
             enabled);
    box->setCursorPosition(0);
    QTest::keyClicks(box, typed);
    press(dialog, button.constData());
    QCOMPARE(QStringLiteral("%1|%2").arg(store.bridgeOperationalMode).arg(store.bridgeRemoteBridgeBSSID), after);
}

QTEST_MAIN(TestFrmBridgeOperationalMode)
#include "tst_frm_bridge_operational_mode.moc"
