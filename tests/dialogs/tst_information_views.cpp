// The statistics and device views: each box shows its own store field,
// under its own caption, as an unsigned decimal, filled once at opening.

#include "agent/device_session.h"
#include "config/configuration_store.h"
#include "dialog_test_support.h"
#include "dialogs/frm_device_info.h"
#include "dialogs/frm_ethernet_statistics.h"
#include "dialogs/frm_info_statistics.h"

#include <QLabel>
#include <QTest>

namespace {

// Screen order, top to bottom, left column first: "box=record.field".
// W is the wireless record, whose order differs from the screen's; R and
// T are the Ethernet receive and transmit records.
const char kWireless[] =
    "UnicastPacketsTxtxt=W1 BroadcastPacketsTxtxt=W2 MulticastPacketsTxtxt=W3 BeaconTxtxt=W4 AckPacketsTxtxt=W9 "
    "RTSPacketsTxtxt=W10 CTSPacketsTxtxt=W11 ACKFailuretxt=W15 CTSFailuretxt=W16 RetryPacketstxt=W17 FCSErrortxt=W18 "
    "UnicastPacketsRxtxt=W5 BroadcastPacketsRxtxt=W6 MulticastPacketsRxtxt=W7 BeaconRxtxt=W8 AckPacketsRxtxt=W12 "
    "RTSPacketsRxtxt=W13 CTSPacketsRxtxt=W14 ReceivedDuplicatetxt=W19 FailedPacketstxt=W20 PacketsAgedtxt=W21 "
    "InvalidPLCPtxt=W22";
const char kEthernet[] =
    "TotalBytesRxtxt=R1 TotalPacketsRxtxt=R2 PacketCRCErrorsRxtxt=R3 MulticastPacketsRxtxt=R4 BroadcastPacketsRxtxt=R5 "
    "ControlFramesRxtxt=R6 PauseFramesRxtxt=R7 UnknownOPCodeRxtxt=R8 AlignmentErrRxtxt=R9 LengthOutOfRangeRxtxt=R10 "
    "CodeErrorRxtxt=R11 FalseCarrierRxtxt=R12 UndersizePacketsRxtxt=R13 OversizePacketsRxtxt=R14 "
    "TotalFragmentsRxtxt=R15 TotalJabberRxtxt=R16 TotalBytesTxtxt=T1 TotalPacketsTxtxt=T2 PacketCRCErrorsTxtxt=T3 "
    "MulticastPacketsTxtxt=T4 BroadcastPacketsTxtxt=T5 UnicastPacketsTxtxt=T6 PauseFramesTxtxt=T7 "
    "SingleDeferPacketsTxtxt=T8 MultiDeferPacketsTxtxt=T9 SingleCollisionPacketsTxtxt=T10 "
    "MultiCollisionPacketsTxtxt=T11 LateCollisionsPacketsTxtxt=T12 ExcessiveCollisionPacketsTxtxt=T13 "
    "TotalCollisionTxtxt=T14";
const QStringList kWirelessCaptions{
    "Unicast Transmitted Packets", "Broadcast Transmitted Packets", "Multicast Transmitted Packets",
    "Transmitted Beacon", "Transmitted ACK", "Transmitted RTS", "Transmitted CTS", "ACK Failure", "CTS Failure",
    "Retry Packets", "FCS Error", "Unicast Received Packets", "Broadcast Received Packets",
    "Multicast Received Packets", "Received Beacon", "Received ACK", "Received RTS", "Received CTS",
    "Received Duplicate", "Failed Packets", "Aged Packets", "Invalid PLCP"};
const QStringList kEthernetCaptions = QStringList{"Total Bytes", "Total Packets", "Packet CRC Errors",
    "Multicast Packets", "Broadcast Packets", "Control Frames", "Pause Frames", "UnknownOP Code", "Alignment Error",
    "Length Out Of Range", "Code Error", "False Carrier", "Undersize Packets", "Oversize Packets", "Total Fragments",
    "Total Jabber", "Total Bytes", "Total Packets", "Packet CRC Errors", "Multicast Packets", "Broadcast Packets",
    "Unicast Packets", "Pause Frames", "SingleDefer Packets", "MultiDefer Packets", "Single Collisions",
    "Multi Collisions", "Late Collisions", "Excessive Collisions", "Total Collisions"};

config::Counter &counter(config::ConfigurationStore &s, QChar record, int field)
{
    return record == 'W' ? s.wirelessStatistics.at(field)
                         : record == 'R' ? s.EthRxStatistics.at(field) : s.EthTxStatistics.at(field);
}

// No two counters alike; the first of each record and the last box of the
// wireless view's left column (record field 18) above 2^31.
config::Counter distinct(QChar record, int field)
{
    if (record == 'W' && field == 18)
        return 4294967295u;
    return (field == 1 ? 2147483648u : 0u) + record.unicode() * 1000u + quint32(field);
}

// "label: caption" of the label whose buddy the box is.
QString captionOf(const QWidget *view, const QWidget *box)
{
    for (const QLabel *label : view->findChildren<QLabel *>()) {
        if (label->buddy() == box)
            return label->objectName() + ": " + label->text();
    }
    return QStringLiteral("(no label)");
}

}  // namespace

class TestInformationViews : public QObject {
    Q_OBJECT

private slots:
    void init() { session_.device().store() = config::ConfigurationStore(); }
    void cleanup() { delete view_; }

    void counterViews_data()
    {
        QTest::addColumn<bool>("ethernet");
        QTest::newRow("wireless") << false;
        QTest::newRow("Ethernet") << true;
    }

    void counterViews()
    {
        QFETCH(bool, ethernet);
        for (const bool afterRead : {false, true}) {  // "0" before a read, then distinct counters
            QStringList boxes, expected;
            for (const QString &cell : QString::fromLatin1(ethernet ? kEthernet : kWireless).split(' ')) {
                const QString place = cell.section('=', 1);
                const config::Counter value = afterRead ? distinct(place.at(0), place.mid(1).toInt()) : 0;
                counter(session_.device().store(), place.at(0), place.mid(1).toInt()) = value;
                boxes << cell.section('=', 0, 0);
                expected << QString::number(value);
            }
            QWidget *view = ethernet ? static_cast<QWidget *>(openDialog<frmEthernetStatistics>(view_, session_))
                                     : openDialog<frmInfoStatistics>(view_, session_);
            QCOMPARE(view->windowTitle(), ethernet ? " Ethernet Statistics" : " Wireless Statistics");
            // Values put into the store by hand: no reading to date them.
            QCOMPARE(control<QLabel>(view, "ReadingTimeLabel")->text(), "Not read from the device yet");
            const auto shown = [&] {
                QStringList texts, captions;
                for (const QString &name : boxes) {
                    auto *box = control<QLineEdit>(view, qPrintable(name));
                    texts << box->text() + (box->isReadOnly() ? "" : " (editable)");
                    captions << captionOf(view, box).section(": ", 1);
                }
                return texts + captions;
            };
            QCOMPARE(shown(), expected + (ethernet ? kEthernetCaptions : kWirelessCaptions));

            // A snapshot: later reads do not reach the open view.
            session_.device().store().wirelessStatistics.at(1) += 7;
            session_.device().store().EthRxStatistics.at(1) += 7;
            QCOMPARE(shown(), expected + (ethernet ? kEthernetCaptions : kWirelessCaptions));
            press(view, "OKCommand");
            QVERIFY(view_.isNull());
        }
    }

    void deviceView_data()
    {
        QTest::addColumn<int>("domain");
        QTest::addColumn<QString>("mac");
        QTest::addColumn<QString>("maker");
        QTest::addColumn<QString>("domainShown");
        QTest::addColumn<QString>("macShown");
        const QString maker = QStringLiteral("Corvane Networks Ltd.").leftJustified(32);  // fill kept
        QTest::newRow("FCC") << 16 << "02C04A102B3C" << maker << "FCC" << "02 C0 4A 10 2B 3C";
        QTest::newRow("MKK") << 64 << "0040F4A1B2C3" << "x" << "MKK" << "00 40 F4 A1 B2 C3";
        QTest::newRow("unknown code") << 33 << "0040F4A1B2C3" << maker << "" << "00 40 F4 A1 B2 C3";
        QTest::newRow("before a read") << 0 << "" << "" << "" << "";
    }

    void deviceView()
    {
        QFETCH(int, domain);
        QFETCH(QString, mac);
        QFETCH(QString, maker);
        QFETCH(QString, domainShown);
        QFETCH(QString, macShown);
        auto &info = session_.device().store().sysDeviceInfo;
        info.regulationDomain = config::Integer(domain);
        info.defaultMACAddress = mac;
        info.manufactureName = maker;
        auto *view = openDialog<frmDeviceInfo>(view_, session_.device());
        QCOMPARE(view->windowTitle(), QStringLiteral(" Device Information"));
        QStringList shown;
        for (const char *name : {"ManufactureNameText", "RegulationDomainText", "DefaultMACAddressMaskEdBox"}) {
            auto *box = control<QLineEdit>(view, name);
            shown << box->text() + (box->isReadOnly() ? "" : " (editable)") << captionOf(view, box);
        }
        shown[4] = shown[4].trimmed();  // an empty mask shows blanks
        QCOMPARE(shown, (QStringList{maker, "Label1: Manufacture Name", domainShown, "Label2: Regulation Domain",
                                     macShown, "EthernetAddress: Default MAC Address"}));
        press(view, "OKCommand");
        QVERIFY(view_.isNull());
    }

private:
    QPointer<QWidget> view_;
    agent::DeviceSession session_{agent::SessionOptions()};  // never opened: nothing is sent
};

QTEST_MAIN(TestInformationViews)
#include "tst_information_views.moc"
