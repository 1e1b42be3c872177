// "Radio Configuration" from the Radio menu against the simulated access
// point: the read on opening, Set with its question and its faults, the
// "_" of empty places, Update values, and a close that waits for the read.

#include "radio_window_fixture.h"

#include "config/configuration_store.h"
#include "dialogs/masked_hex_edit.h"
#include "radiotest/frm_radio_configuration.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>

using snmp::Value;

namespace {

const QString kFactory = QStringLiteral("B1B2B3B4B5B6B7B8B9BABBBCBDBE");  // the simulated device's table
const QString kRetrieved = QStringLiteral("Radio configuration retrieved");
const QString kNotResponding = QStringLiteral("Device not responding..Try connect again");

QString boxesText(const frmRadioConfiguration *w)
{
    QString text;
    for (const MaskedHexEdit *box : w->CR31edit)
        text += box->placesText();
    return text;
}

void retype(MaskedHexEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    box->home(false);
    QTest::keyClicks(box, text);
}

using FaultSetter = std::function<void(sim::Faults &)>;

}  // namespace

Q_DECLARE_METATYPE(FaultSetter)

class TestFrmRadioConfiguration : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openingReadsTheDevice();
    void set_data();
    void set();
    void silentDeviceKeepsTheBoxes();
    void closeWaitsForTheRead();

private:
    frmRadioConfiguration *open();
    std::unique_ptr<RadioWindowFixture> f_;
};

void TestFrmRadioConfiguration::init()
{
    f_ = std::make_unique<RadioWindowFixture>();
    QVERIFY(f_->connect());
}

void TestFrmRadioConfiguration::cleanup()
{
    f_.reset();
}

frmRadioConfiguration *TestFrmRadioConfiguration::open()
{
    f_->window->mnuRadioConfiguration->trigger();
    QMdiSubWindow *frame = f_->window->mdiArea()->activeSubWindow();
    return frame ? qobject_cast<frmRadioConfiguration *>(frame->widget()) : nullptr;
}

void TestFrmRadioConfiguration::openingReadsTheDevice()
{
    frmRadioConfiguration *w = open();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Radio Configuration"));
    QTRY_COMPARE(w->StatusBar->text(), kRetrieved);
    QCOMPARE(boxesText(w), kFactory);
    QCOMPARE(f_->requestedObjects(), QStringList{"TestModeRadioConfiguration"});
    QCOMPARE(w->ChannelLabel[13]->text(), QStringLiteral("Channel 14"));
    QCOMPARE(w->ChannelLabel[13]->buddy(), w->CR31edit[13]);
    QCOMPARE(open(), w);  // one window, brought to the front again
}

void TestFrmRadioConfiguration::set_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<FaultSetter>("fault");
    QTest::addColumn<int>("sets");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");  // the store field afterwards
    QTest::addColumn<QString>("device");  // the device's table afterwards
    const FaultSetter none = [](sim::Faults &) {};
    // Channel 1 typed over, channel 3 with one place left empty, channel 14 emptied.
    const QString typed = QStringLiteral("80B2C_B4B5B6B7B8B9BABBBCBD__");
    const QString written = QStringLiteral("80B20CB4B5B6B7B8B9BABBBCBD00");
    QTest::newRow("yes") << true << none << 1 << "Radio configuration set" << typed << written;
    QTest::newRow("no sends nothing") << false << none << 0 << kRetrieved << kFactory << kFactory;
    // The device stores what it got; only its answer says otherwise.
    QTest::newRow("echo differs")
        << true << FaultSetter([](sim::Faults &f) { f.wrongEchoObjects = {QStringLiteral("TestModeRadioConfiguration")}; })
        << 4 << kNotResponding << typed << written;
    QTest::newRow("refused") << true << FaultSetter([](sim::Faults &f) { f.errorStatus = 5; }) << 4 << kNotResponding
                             << typed << kFactory;
}

void TestFrmRadioConfiguration::set()
{
    QFETCH(bool, yes);
    QFETCH(FaultSetter, fault);
    QFETCH(int, sets);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QFETCH(QString, device);
    frmRadioConfiguration *w = open();
    QVERIFY(w);
    QTRY_COMPARE(w->StatusBar->text(), kRetrieved);
    retype(w->CR31edit[0], QStringLiteral("80"));
    retype(w->CR31edit[2], QStringLiteral("C"));
    retype(w->CR31edit[13], QString());
    f_->boxes.answer = yes;
    fault(f_->device.faults);
    f_->device.clearReceivedRequests();

    w->SetCommand->click();
    QCOMPARE(f_->boxes.asked, QStringList{"Reset|Do you want to Set these values?"});
    QCOMPARE(f_->device.receivedRequests().size(), sets);
    QCOMPARE(w->StatusBar->text(), text);
    QCOMPARE(config::store().TestModeRadioConfiguration, stored);
    QCOMPARE(QString::fromLatin1(f_->device.value(QStringLiteral("TestModeRadioConfiguration")).bytes.toHex().toUpper()),
             device);

    f_->device.faults = sim::Faults();
    w->UpdateCommand->click();
    QCOMPARE(w->StatusBar->text(), kRetrieved);
    QCOMPARE(boxesText(w), device);
}

void TestFrmRadioConfiguration::silentDeviceKeepsTheBoxes()
{
    frmRadioConfiguration *w = open();
    QVERIFY(w);
    QTRY_COMPARE(w->StatusBar->text(), kRetrieved);
    retype(w->CR31edit[0], QStringLiteral("99"));
    f_->device.faults.silent = true;
    f_->device.clearReceivedRequests();
    w->UpdateCommand->click();
    QCOMPARE(w->StatusBar->text(), kNotResponding);
    QCOMPARE(f_->device.receivedRequests().size(), 4);
    QCOMPARE(boxesText(w), QStringLiteral("99") + kFactory.mid(2));
}

void TestFrmRadioConfiguration::closeWaitsForTheRead()
{
    f_->device.faults.silent = true;
    QPointer<frmRadioConfiguration> w = open();
    QVERIFY(w);
    QPointer<QMdiSubWindow> frame = f_->window->mdiArea()->activeSubWindow();
    bool shownAfterClose = false;
    QObject::connect(&f_->device, &sim::SimulatedAccessPoint::requestReceived, frame, [&] {
        if (f_->device.receivedRequests().size() == 1) {
            frame->close();  // in the middle of the first of four reads
            shownAfterClose = w && w->isVisible();
        }
    });
    QTRY_COMPARE(f_->device.receivedRequests().size(), 4);
    QVERIFY(shownAfterClose);
    QTRY_VERIFY(w.isNull() && frame.isNull());
}

QTEST_MAIN(TestFrmRadioConfiguration)
#include "test_frm_radio_configuration.moc"
