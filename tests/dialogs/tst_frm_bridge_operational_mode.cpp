#include "config/configuration_store.h"
#include "dialog_test_support.h"
#include "dialogs/frm_bridge_operational_mode.h"
#include "dialogs/masked_hex_edit.h"

#include <QLabel>
#include <QTest>

namespace {
const QString kStoredBssid = QStringLiteral("0040F4112233");
}

class TestFrmBridgeOperationalMode : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { delete dialog_; }
    void modes_data();
    void modes();

private:
    QPointer<QWidget> dialog_;
};

void TestFrmBridgeOperationalMode::init()
{
    config::resetStore();
    config::store().bridgeRemoteBridgeBSSID = kStoredBssid;
}

void TestFrmBridgeOperationalMode::modes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("selected");  // after loading
    QTest::addColumn<QString>("enabled");      // box and label, "box label" as 0/1
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("chosen");    // by the user
    QTest::addColumn<QString>("typed");        // into the box from its start
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<int>("storedMode");
    QTest::addColumn<QString>("storedBssid");
    const QString address = QStringLiteral("00 40 F4 11 22 33");
    const QString maskOnly = QStringLiteral("__ __ __ __ __ __");
    const QByteArray ok("OKCommand"), wbToWb("WirelessBridgeToWirelessBridgeOption"), wb("WirelessBridgeOption"),
        ap("APOption");
    QTest::newRow("WB to WB") << 1 << wbToWb << "1 1" << address << QByteArray() << "" << ok << 1 << kStoredBssid;
    QTest::newRow("access point") << 2 << ap << "0 0" << maskOnly << QByteArray() << "" << ok << 2 << kStoredBssid;
    QTest::newRow("wireless bridge") << 3 << wb << "1 1" << address << QByteArray() << "" << ok << 3 << kStoredBssid;
    QTest::newRow("nothing read yet") << 0 << QByteArray() << "0 1" << maskOnly << QByteArray() << "" << ok << 0
                                      << kStoredBssid;
    QTest::newRow("unknown mode") << 4 << QByteArray() << "0 1" << maskOnly << QByteArray() << "" << ok << 4
                                  << kStoredBssid;
    QTest::newRow("bridge to access point") << 3 << wb << "0 0" << address << ap << "" << ok << 2 << kStoredBssid;
    QTest::newRow("access point to WB to WB, typed")
        << 2 << ap << "1 1" << maskOnly << wbToWb << "0a0b0c0d0e0f" << ok << 1 << "0A0B0C0D0E0F";
    QTest::newRow("no mode to bridge, typed") << 0 << QByteArray() << "1 1" << maskOnly << wb << "aabb" << ok << 3
                                              << "AABB";
    QTest::newRow("cancel after switching") << 2 << ap << "1 1" << maskOnly << wb << "ff" << QByteArray("CancelCommand")
                                            << 2 << kStoredBssid;
}

void TestFrmBridgeOperationalMode::modes()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, selected);
    QFETCH(QString, enabled);
    QFETCH(QString, shown);
    QFETCH(QByteArray, chosen);
    QFETCH(QString, typed);
    QFETCH(QByteArray, button);
    QFETCH(int, storedMode);
    QFETCH(QString, storedBssid);
    config::store().bridgeOperationalMode = config::Integer(mode);
    auto *dialog = openDialog<frmBridgeOperationalMode>(dialog_);
    auto *box = control<MaskedHexEdit>(dialog, "RemoteBridgeBSSIDMaskEdBox");
    for (const char *name : {"APOption", "WirelessBridgeOption", "WirelessBridgeToWirelessBridgeOption"})
        QCOMPARE(isChecked(dialog, name), selected == name);
    QCOMPARE(box->displayText(), shown);
    if (!chosen.isEmpty())
        control<QAbstractButton>(dialog, chosen.constData())->click();
    QCOMPARE(QStringLiteral("%1 %2").arg(box->isEnabled()).arg(control<QLabel>(dialog, "Label5")->isEnabled()),
             enabled);
    box->setCursorPosition(0);
    QTest::keyClicks(box, typed);
    press(dialog, button.constData());
    QCOMPARE(int(config::store().bridgeOperationalMode), storedMode);
    QCOMPARE(config::store().bridgeRemoteBridgeBSSID, storedBssid);
}

QTEST_MAIN(TestFrmBridgeOperationalMode)
#include "tst_frm_bridge_operational_mode.moc"
