// Find Devices on simulated devices: a range lists exactly the devices
// that answer in it, the scan address lists what answers there, a text
// that is no range sends nothing; Stop ends a search; Connect manages the
// chosen device as the connect dialog's OK would, and the connect dialog
// then offers it among the last devices.

#include "app_test_support.h"

#include "dialogs/frm_find_devices.h"
#include "dialogs/frm_ip_address.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using testing::WindowFixture;

class TestFindDevices : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        f_ = std::make_unique<WindowFixture>(0.1);  // silent addresses end in 2 x 120 ms
        // Five more devices on consecutive addresses, on the console's agent port.
        for (int i = 0; i < 5; ++i) {
            auto device = std::make_unique<sim::SimulatedAccessPoint>();
            QVERIFY(device->start(QHostAddress(QStringLiteral("127.0.0.%1").arg(21 + i)), f_->device.port()));
            device->setValue("operESSID", snmp::Value::octets("net" + QByteArray::number(21 + i)));
            fleet_.push_back(std::move(device));
        }
        f_->window->mnuFileFindDevices->trigger();
        window_ = qobject_cast<frmFindDevices *>(f_->window->mdiArea()->activeSubWindow()->widget());
        QVERIFY(window_);
    }
    void cleanup()
    {
        fleet_.clear();
        f_.reset();
    }

    void lists_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<QStringList>("listed");  // "address|ESSID|channel"
        const QString channel = QString::number(fleetChannel());
        QStringList five;
        for (int i = 21; i <= 25; ++i)
            five << QStringLiteral("127.0.0.%1|net%1|%2").arg(i).arg(channel);
        QTest::newRow("span") << "127.0.0.19-127.0.0.27" << five;
        QTest::newRow("network") << "127.0.0.16/29" << five.mid(0, 2);  // .17 to .22
        QTest::newRow("one address") << " 127.0.0.23 " << five.mid(2, 1);
        QTest::newRow("scan address") << "" << QStringList{"127.0.0.1|corvane|" + channel};
        QTest::newRow("no range") << "127.0.0.30-127.0.0.20" << QStringList();
    }

    void lists()
    {
        QFETCH(QString, range);
        QFETCH(QStringList, listed);
        window_->RangeText->setText(range);
        window_->FindCommand->click();
        WAIT_VERIFY(window_->FindCommand->isEnabled());
        QStringList shown;
        for (int row = 0; row < window_->DevicesList->topLevelItemCount(); ++row) {
            const QTreeWidgetItem *item = window_->DevicesList->topLevelItem(row);
            shown << item->text(frmFindDevices::AddressColumn) + '|' + item->text(frmFindDevices::EssidColumn) + '|'
                         + item->text(frmFindDevices::ChannelColumn);
            QVERIFY(item->text(frmFindDevices::FirmwareColumn).startsWith("Corvane"));
            QCOMPARE(item->text(frmFindDevices::EthernetColumn).size(), 12);
        }
        QCOMPARE(shown, listed);
        if (listed.isEmpty()) {
            QCOMPARE(window_->ProgressLabel->text(), QStringLiteral("\"127.0.0.30-127.0.0.20\": the span ends before it starts"));
            QVERIFY(f_->device.receivedRequests().isEmpty());
        } else {
            QVERIFY2(window_->ProgressLabel->text().endsWith(QStringLiteral("%1 device(s) found.").arg(listed.size())),
                     qPrintable(window_->ProgressLabel->text()));
        }
    }

    // Stop ends a search at once: no more probes, Find again.
    void stops()
    {
        window_->RangeText->setText("127.0.1.0/24");
        window_->FindCommand->click();
        QVERIFY(window_->StopCommand->isEnabled());
        window_->StopCommand->click();
        QVERIFY(window_->FindCommand->isEnabled());
        QVERIFY(window_->ProgressLabel->text().endsWith("before Stop."));
    }

    // Connect (or a double-click) manages the chosen device with the typed
    // community; the connect dialog remembers it.
    void connectsToTheChosen()
    {
        window_->RangeText->setText("127.0.0.21-127.0.0.25");
        window_->FindCommand->click();
        WAIT_VERIFY(window_->FindCommand->isEnabled());
        QCOMPARE(window_->DevicesList->topLevelItemCount(), 5);
        window_->DevicesList->setCurrentItem(window_->DevicesList->topLevelItem(3));
        window_->ConnectCommand->click();
        WAIT_VERIFY(f_->window->Connected());
        QCOMPARE(f_->window->AgentAddress(), QStringLiteral("127.0.0.24"));
        QCOMPARE(f_->store().operESSID, QStringLiteral("net24"));
        QCOMPARE(f_->settings.value("BridgeSettings", "LastIPaddress"), QStringLiteral("127.0.0.24"));

        emit window_->DevicesList->itemActivated(window_->DevicesList->topLevelItem(1), 0);
        WAIT_VERIFY(f_->window->Connected() && f_->window->AgentAddress() == "127.0.0.22");
        frmIPAddress *dialog = f_->window->connectDialog();
        dialog->show();
        QStringList offered;
        for (int i = 0; i < dialog->cboRemoteIP->count(); ++i)
            offered << dialog->cboRemoteIP->itemText(i);
        QCOMPARE(offered, (QStringList{"127.0.0.22", "127.0.0.24"}));
        QCOMPARE(dialog->txtRemoteIP->text(), QStringLiteral("127.0.0.22"));
        dialog->reject();
    }

private:
    int fleetChannel() const
    {
        sim::SimulatedAccessPoint probe;
        return int(probe.value("operChannelID").number);
    }

    std::unique_ptr<WindowFixture> f_;
    std::vector<std::unique_ptr<sim::SimulatedAccessPoint>> fleet_;
    frmFindDevices *window_ = nullptr;
};

QTEST_MAIN(TestFindDevices)
#include "test_find_devices.moc"
