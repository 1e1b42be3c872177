// The statistics and device views: every box shows its own store field
// under its own caption, counters as unsigned decimals, filled once.

#include "config/configuration_store.h"
#include "dialog_test_support.h"
#include "dialogs/frm_device_info.h"
#include "dialogs/frm_ethernet_statistics.h"
#include "dialogs/frm_info_statistics.h"
#include "dialogs/masked_hex_edit.h"

#include <QLabel>
#include <QTest>

namespace {

enum class Record { Wireless, EthRx, EthTx };

struct Shown {
    Record record;
    int field;  // 1-based place in the record
    const char *box;
    const char *caption;
};

// Screen order, which is not the record's for the wireless counters.
const Shown kWireless[] = {
    {Record::Wireless, 1, "UnicastPacketsTxtxt", "Unicast Transmitted Packets"},
    {Record::Wireless, 2, "BroadcastPacketsTxtxt", "Broadcast Transmitted Packets"},
    {Record::Wireless, 3, "MulticastPacketsTxtxt", "Multicast Transmitted Packets"},
    {Record::Wireless, 4, "BeaconTxtxt", "Transmitted Beacon"},
    {Record::Wireless, 9, "AckPacketsTxtxt", "Transmitted ACK"},
    {Record::Wireless, 10, "RTSPacketsTxtxt", "Transmitted RTS"},
    {Record::Wireless, 11, "CTSPacketsTxtxt", "Transmitted CTS"},
    {Record::Wireless, 15, "ACKFailuretxt", "ACK Failure"},
    {Record::Wireless, 16, "CTSFailuretxt", "CTS Failure"},
    {Record::Wireless, 17, "RetryPacketstxt", "Retry Packets"},
    {Record::Wireless, 18, "FCSErrortxt", "FCS Error"},
    {Record::Wireless, 5, "UnicastPacketsRxtxt", "Unicast Received Packets"},
    {Record::Wireless, 6, "BroadcastPacketsRxtxt", "Broadcast Received Packets"},
    {Record::Wireless, 7, "MulticastPacketsRxtxt", "Multicast Received Packets"},
    {Record::Wireless, 8, "BeaconRxtxt", "Received Beacon"},
    {Record::Wireless, 12, "AckPacketsRxtxt", "Received ACK"},
    {Record::Wireless, 13, "RTSPacketsRxtxt", "Received RTS"},
    {Record::Wireless, 14, "CTSPacketsRxtxt", "Received CTS"},
    {Record::Wireless, 19, "ReceivedDuplicatetxt", "Received Duplicate"},
    {Record::Wireless, 20, "FailedPacketstxt", "Failed Packets"},
    {Record::Wireless, 21, "PacketsAgedtxt", "Aged Packets"},
    {Record::Wireless, 22, "InvalidPLCPtxt", "Invalid PLCP"},
};
const Shown kEthernet[] = {
    {Record::EthRx, 1, "TotalBytesRxtxt", "Total Bytes"},
    {Record::EthRx, 2, "TotalPacketsRxtxt", "Total Packets"},
    {Record::EthRx, 3, "PacketCRCErrorsRxtxt", "Packet CRC Errors"},
    {Record::EthRx, 4, "MulticastPacketsRxtxt", "Multicast Packets"},
    {Record::EthRx, 5, "BroadcastPacketsRxtxt", "Broadcast Packets"},
    {Record::EthRx, 6, "ControlFramesRxtxt", "Control Frames"},
    {Record::EthRx, 7, "PauseFramesRxtxt", "Pause Frames"},
    {Record::EthRx, 8, "UnknownOPCodeRxtxt", "UnknownOP Code"},
    {Record::EthRx, 9, "AlignmentErrRxtxt", "Alignment Error"},
    {Record::EthRx, 10, "LengthOutOfRangeRxtxt", "Length Out Of Range"},
    {Record::EthRx, 11, "CodeErrorRxtxt", "Code Error"},
    {Record::EthRx, 12, "FalseCarrierRxtxt", "False Carrier"},
    {Record::EthRx, 13, "UndersizePacketsRxtxt", "Undersize Packets"},
    {Record::EthRx, 14, "OversizePacketsRxtxt", "Oversize Packets"},
    {Record::EthRx, 15, "TotalFragmentsRxtxt", "Total Fragments"},
    {Record::EthRx, 16, "TotalJabberRxtxt", "Total Jabber"},
    {Record::EthTx, 1, "TotalBytesTxtxt", "Total Bytes"},
    {Record::EthTx, 2, "TotalPacketsTxtxt", "Total Packets"},
    {Record::EthTx, 3, "PacketCRCErrorsTxtxt", "Packet CRC Errors"},
    {Record::EthTx, 4, "MulticastPacketsTxtxt", "Multicast Packets"},
    {Record::EthTx, 5, "BroadcastPacketsTxtxt", "Broadcast Packets"},
    {Record::EthTx, 6, "UnicastPacketsTxtxt", "Unicast Packets"},
    {Record::EthTx, 7, "PauseFramesTxtxt", "Pause Frames"},
    {Record::EthTx, 8, "SingleDeferPacketsTxtxt", "SingleDefer Packets"},
    {Record::EthTx, 9, "MultiDeferPacketsTxtxt", "MultiDefer Packets"},
    {Record::EthTx, 10, "SingleCollisionPacketsTxtxt", "Single Collisions"},
    {Record::EthTx, 11, "MultiCollisionPacketsTxtxt", "Multi Collisions"},
    {Record::EthTx, 12, "LateCollisionsPacketsTxtxt", "Late Collisions"},
    {Record::EthTx, 13, "ExcessiveCollisionPacketsTxtxt", "Excessive Collisions"},
    {Record::EthTx, 14, "TotalCollisionTxtxt", "Total Collisions"},
};

config::Counter &counter(Record record, int field)
{
    auto &s = config::store();
    switch (record) {
    case Record::Wireless: return s.wirelessStatistics.at(field);
    case Record::EthRx: return s.EthRxStatistics.at(field);
    case Record::EthTx: break;
    }
    return s.EthTxStatistics.at(field);
}

// A value no other counter has; the first of each record is above 2^31
// (the widest, 4294967295, in the wireless record's last box on the left).
config::Counter distinctValue(Record record, int field)
{
    if (record == Record::Wireless && field == 18)
        return 4294967295u;
    if (field == 1)
        return 2147483648u + quint32(record);
    return quint32(record) * 100000u + quint32(field) * 1001u;
}

// "box|caption|text" for every counter the view shows.
QStringList shownCounters(const QWidget *view, const Shown *begin, const Shown *end)
{
    QStringList shown;
    for (const Shown *s = begin; s != end; ++s) {
        auto *box = control<QLineEdit>(view, s->box);
        QString caption = QStringLiteral("(no label)");
        for (const QLabel *label : view->findChildren<QLabel *>()) {
            if (label->buddy() == box)
                caption = label->text();
        }
        shown << QStringLiteral("%1|%2|%3%4").arg(QLatin1String(s->box), caption, box->text(),
                                                   box->isReadOnly() ? QString() : QStringLiteral("|editable"));
    }
    return shown;
}

}  // namespace

class TestInformationViews : public QObject {
    Q_OBJECT

private slots:
    void init() { config::resetStore(); }
    void cleanup() { delete view_; }
    void counterViews_data();
    void counterViews();
    void deviceView_data();
    void deviceView();

private:
    QPointer<QWidget> view_;
};

void TestInformationViews::counterViews_data()
{
    QTest::addColumn<bool>("ethernet");
    QTest::addColumn<bool>("afterRead");
    QTest::addColumn<QString>("caption");
    QTest::newRow("wireless, before a read") << false << false << " Wireless Statistics";
    QTest::newRow("wireless, distinct counters") << false << true << " Wireless Statistics";
    QTest::newRow("Ethernet, before a read") << true << false << " Ethernet Statistics";
    QTest::newRow("Ethernet, distinct counters") << true << true << " Ethernet Statistics";
}

void TestInformationViews::counterViews()
{
    QFETCH(bool, ethernet);
    QFETCH(bool, afterRead);
    QFETCH(QString, caption);
    const Shown *begin = ethernet ? std::begin(kEthernet) : std::begin(kWireless);
    const Shown *end = ethernet ? std::end(kEthernet) : std::end(kWireless);
    QStringList expected;
    for (const Shown *s = begin; s != end; ++s) {
        const config::Counter value = afterRead ? distinctValue(s->record, s->field) : 0;
        counter(s->record, s->field) = value;
        expected << QStringLiteral("%1|%2|%3").arg(QLatin1String(s->box), QLatin1String(s->caption)).arg(value);
    }

    QWidget *view = ethernet ? static_cast<QWidget *>(openDialog<frmEthernetStatistics>(view_))
                             : openDialog<frmInfoStatistics>(view_);
    QCOMPARE(view->windowTitle(), caption);
    QCOMPARE(shownCounters(view, begin, end), expected);

    // A snapshot: a later read does not reach the open view.
    for (const Shown *s = begin; s != end; ++s)
        counter(s->record, s->field) += 7;
    QCoreApplication::processEvents();
    QCOMPARE(shownCounters(view, begin, end), expected);

    press(view, "OKCommand");
    QVERIFY(view_.isNull());
}

void TestInformationViews::deviceView_data()
{
    QTest::addColumn<int>("domain");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("macAddress");
    QTest::addColumn<QString>("manufacturer");
    const QString maker = QStringLiteral("Corvane Networks Ltd.").leftJustified(32);
    QTest::newRow("FCC") << 16 << "FCC" << "02C04A102B3C" << maker;
    QTest::newRow("SPAIN") << 49 << "SPAIN" << "0040F4A1B2C3" << maker;
    QTest::newRow("MKK") << 64 << "MKK" << "0040F4A1B2C3" << maker;
    QTest::newRow("unknown code") << 33 << "" << "0040F4A1B2C3" << maker;
    QTest::newRow("before a read") << 0 << "" << "" << "";
}

void TestInformationViews::deviceView()
{
    QFETCH(int, domain);
    QFETCH(QString, name);
    QFETCH(QString, macAddress);
    QFETCH(QString, manufacturer);
    auto &info = config::store().sysDeviceInfo;
    info.regulationDomain = config::Integer(domain);
    info.defaultMACAddress = macAddress;
    info.manufactureName = manufacturer;

    auto *view = openDialog<frmDeviceInfo>(view_);
    QCOMPARE(view->windowTitle(), QStringLiteral(" Device Information"));
    QCOMPARE(control<QLineEdit>(view, "ManufactureNameText")->text(), manufacturer);
    QCOMPARE(control<QLineEdit>(view, "RegulationDomainText")->text(), name);
    // Six pairs apart, as the mask shows them.
    QCOMPARE(control<MaskedHexEdit>(view, "DefaultMACAddressMaskEdBox")->text().remove(QLatin1Char(' ')), macAddress);
    for (const char *label : {"Label1|Manufacture Name", "Label2|Regulation Domain", "EthernetAddress|Default MAC Address"}) {
        const QStringList parts = QString::fromLatin1(label).split(QLatin1Char('|'));
        QCOMPARE(control<QLabel>(view, qPrintable(parts.at(0)))->text(), parts.at(1));
    }
    press(view, "OKCommand");
    QVERIFY(view_.isNull());
}

QTEST_MAIN(TestInformationViews)
#include "tst_information_views.moc"
