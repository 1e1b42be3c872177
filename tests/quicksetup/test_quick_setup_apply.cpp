// Apply and Restore Defaults of the quick-setup window against a simulated
// access point: what reaches the device, in which order, and the new
// connection that follows; and the Applies that must send nothing.

#include "quick_setup_fixture.h"



using Answer = QuickSetupFixture::Answer;
using snmp::Value;

namespace {

using Edit = std::function<void(FrmMain2 *)>;
using DeviceCheck = std::function<void(const sim::SimulatedAccessPoint &)>;

const QString kConnectOK = QStringLiteral("Connect OK");
const QString kAskDownload = QStringLiteral("Download Changes|Do you want to Change ?");

void retype(QLineEdit *box, const QString &text)
{
    box->selectAll();
    QTest::keyClicks(box, text);
}

// "SET operChannelID", "GET sysDescr": each request by its type and first object.
QStringList requestsSeen(const sim::SimulatedAccessPoint &device)
{
    QStringList seen;
    for (const snmp::Message &m : device.receivedRequests()) {
        snmp::Oid object = m.pdu.varBinds.isEmpty() ? snmp::Oid() : m.pdu.varBinds.first().name;
        if (!object.isEmpty())
            object.removeLast();  // the instance ".0"
        seen << (m.pdu.type == snmp::PduType::SetRequest ? QStringLiteral("SET ") : QStringLiteral("GET "))
                    + device.mib().nameOf(snmp::oidToText(object));
    }
    return seen;
}

const QStringList kDownloadThenConnect{"SET operChannelID",         "SET operEthernetAddress", "SET privacyDefaultWEPKeyID",
                                       "SET bridgeOperationalMode", "SET sysReset",            "GET sysDescr"};

}  // namespace

Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(DeviceCheck)

class TestQuickSetupApply : public QObject {
    Q_OBJECT

private slots:
    void applySendsEveryGroupAndReconnects_data()
    {
        QTest::addColumn<Edit>("edit");  // ends with the Apply click
        QTest::addColumn<DeviceCheck>("check");
        QTest::addColumn<QString>("reconnectAddress");

        QTest::newRow("Basic Setting") << Edit([](FrmMain2 *w) {
            w->ChannelCombo->setCurrentIndex(10);
            retype(w->ESSIDtext, "lab net");
            retype(w->FragmentationThresholdText, "500");  // not this tab's to store
            w->BC_OKCommand->click();
        }) << DeviceCheck([](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("operChannelID"), Value::integer(11));
            QCOMPARE(ap.value("operESSID"), Value::octets("lab net"));
            QCOMPARE(ap.value("operFragmentationThreshold"), Value::integer(2346));
        }) << "127.0.0.1";
        QTest::newRow("Advanced") << Edit([](FrmMain2 *w) {
            retype(w->RTSThresholdText, "500");
            w->ShortPreambleOption->click();
            w->BasicRates12Option->click();
            w->AutoRateFallBackCheck->click();
            w->BC1_OKCommand->click();
        }) << DeviceCheck([](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("operRTSThreshold"), Value::integer(500));
            QCOMPARE(ap.value("operPreambleType"), Value::integer(1));
            QCOMPARE(ap.value("operBasicRates"), Value::octets(QByteArray::fromHex("82840B16")));
            QCOMPARE(ap.value("operAutoRateFallBack"), Value::integer(2));
        }) << "127.0.0.1";
        // The device moves to its new address; the new connection follows it.
        QTest::newRow("IP Setting") << Edit([](FrmMain2 *w) {
            retype(w->IPAddressText, "127.0.0.2");
            retype(w->IPMaskText, "255.0.0.0");
            w->AC_OKCommand->click();
        }) << DeviceCheck([](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("operIPMask"), Value::ipAddress(QByteArray::fromHex("FF000000")));
            QCOMPARE(ap.address(), QHostAddress("127.0.0.2"));
        }) << "127.0.0.2";
        QTest::newRow("WEP") << Edit([](FrmMain2 *w) {
            w->WepEnableCombo->setCurrentIndex(0);
            w->DefaultWepKeyIDCombo->setCurrentIndex(1);
            retype(w->PassText, "corvane");
            w->DoneCommand->click();
            w->EN1_OKCommand->click();
        }) << DeviceCheck([](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("privacyWEPEnable"), Value::integer(1));
            QCOMPARE(ap.value("privacyDefaultWEPKeyID"), Value::integer(2));
            QCOMPARE(ap.value("defaultWEPKey1"), Value::octets(QByteArray::fromHex("2C57451BEA")));
            QCOMPARE(ap.value("defaultWEPKey4"), Value::octets(QByteArray::fromHex("93EE680DD4")));
        }) << "127.0.0.1";
    }

    void applySendsEveryGroupAndReconnects()
    {
        QFETCH(Edit, edit);
        QFETCH(DeviceCheck, check);
        QFETCH(QString, reconnectAddress);
        QuickSetupFixture f;
        f.device.moveOnReset = true;
        QVERIFY(f.loadConnected());
        FrmMain2 *w = f.quick;
        QStringList statuses;
        QObject::connect(w->txtStatus, &QLineEdit::textChanged, w, [&statuses](const QString &t) { statuses << t; });
        f.device.clearReceivedRequests();

        edit(w);
        QCOMPARE(f.questioner.asked, QStringList{kAskDownload});
        QCOMPARE(requestsSeen(f.device).mid(0, kDownloadThenConnect.size()), kDownloadThenConnect);
        QCOMPARE(statuses.value(0), QStringLiteral("Download complete successfully"));
        QCOMPARE(w->SSTab1->currentIndex(), int(FrmMain2::StatusTab));
        QCOMPARE(f.window->connectDialog()->txtRemoteIP->text(), reconnectAddress);
        check(f.device);
        QTRY_COMPARE_WITH_TIMEOUT(w->txtStatus->text(), kConnectOK, 10000);
        QCOMPARE(f.window->session().AgentAddress, reconnectAddress);
        QCOMPARE(config::store().pendingIPAddress, QString());
    }

    void restoreDefaults_data()
    {
        QTest::addColumn<int>("regulationDomain");
        QTest::addColumn<int>("channel");
        QTest::newRow("FCC: channel 6") << 16 << 6;
        // Lists too short for channel 6 take their first channel.
        QTest::newRow("SPAIN") << 49 << 10;
        QTest::newRow("MKK") << 64 << 14;
    }

    void restoreDefaults()
    {
        QFETCH(int, regulationDomain);
        QFETCH(int, channel);
        QuickSetupFixture f;
        const QByteArray key1 = QByteArray::fromHex("0102030405");
        const std::pair<const char *, Value> changed[] = {
            {"operChannelID", Value::integer(3)},          {"operESSID", Value::octets("lab")},
            {"operRTSThreshold", Value::integer(100)},     {"operFragmentationThreshold", Value::integer(200)},
            {"operPreambleType", Value::integer(1)},       {"operAuthenticationType", Value::integer(1)},
            {"operAutoRateFallBack", Value::integer(2)},   {"operBasicRates", Value::octets(QByteArray::fromHex("82840B16"))},
            {"privacyWEPEnable", Value::integer(1)},       {"defaultWEPKey1", Value::octets(key1)},
            {"operIPMask", Value::ipAddress(QByteArray::fromHex("FF000000"))},
        };
        for (const auto &[name, value] : changed)
            f.device.setValue(QLatin1String(name), value);
        QVERIFY(f.loadConnected());
        FrmMain2 *w = f.quick;
        // The device's code as the window would see it on a tick.
        config::store().sysDeviceInfo.regulationDomain = config::Integer(regulationDomain);
        w->Timer1_Timer();
        f.device.clearReceivedRequests();
        const int refusedBefore = f.window->session().Manager1.refusedByGuard();

        w->DefaultCommand->click();
        QCOMPARE(f.questioner.asked,
                 (QStringList{"Restore Defaults|Do you want to restore to factory defaults ?", kAskDownload}));
        const std::pair<const char *, Value> factory[] = {
            {"operChannelID", Value::integer(channel)},     {"operESSID", Value::octets("corvane")},
            {"operRTSThreshold", Value::integer(2346)},     {"operFragmentationThreshold", Value::integer(2346)},
            {"operPreambleType", Value::integer(2)},        {"operAuthenticationType", Value::integer(3)},
            {"operAutoRateFallBack", Value::integer(1)},    {"operBasicRates", Value::octets(QByteArray::fromHex("82848B96"))},
            {"privacyWEPEnable", Value::integer(2)},        {"defaultWEPKey1", Value::octets(key1)},  // kept
            {"operIPAddress", Value::ipAddress(QByteArray::fromHex("C0A801FA"))},                     // 192.168.1.250
            {"operIPMask", Value::ipAddress(QByteArray::fromHex("FFFFFF00"))},
        };
        for (const auto &[name, value] : factory)
            QCOMPARE(f.device.value(QLatin1String(name)), value);
        // The console follows the device to the factory address: the guard
        // refuses it there, and nothing more reaches any device.
        QCOMPARE(requestsSeen(f.device).last(), QStringLiteral("SET sysReset"));
        QVERIFY(f.window->session().Manager1.refusedByGuard() > refusedBefore);
        QCOMPARE(f.window->connectDialog()->txtRemoteIP->text(), QStringLiteral("192.168.1.250"));
    }

    void applyThatSendsNothing_data()
    {
        QTest::addColumn<bool>("confirm");  // the answer to "Do you want to Change ?"
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("download declined") << false << Edit([](FrmMain2 *w) {
            retype(w->IPAddressText, "127.0.0.3");
            w->AC_OKCommand->click();
        }) << QStringList{kAskDownload};
        QTest::newRow("threshold out of range") << true << Edit([](FrmMain2 *w) {
            retype(w->RTSThresholdText, "2347");
            w->BC1_OKCommand->click();
            QCOMPARE(w->RTSThresholdText->property("refused").toBool(), true);
            QCOMPARE(config::store().operRTSThreshold, config::Integer(2346));
        }) << QStringList{};
    }

    void applyThatSendsNothing()
    {
        QFETCH(bool, confirm);
        QFETCH(Edit, edit);
        QFETCH(QStringList, asked);
        QuickSetupFixture f;
        QVERIFY(f.loadConnected());
        f.questioner.answer = confirm;
        f.device.clearReceivedRequests();
        edit(f.quick);
        QCOMPARE(f.questioner.asked, asked);
        QTest::qWait(50);
        QCOMPARE(requestsSeen(f.device), QStringList{});
        QCOMPARE(f.quick->txtStatus->text(), kConnectOK);
        QCOMPARE(f.quick->Timer1.isActive(), false);
        // No new address is left behind for a later download.
        QCOMPARE(config::store().pendingIPAddress, QString());
    }
};

QTEST_MAIN(TestQuickSetupApply)
#include "test_quick_setup_apply.moc"
