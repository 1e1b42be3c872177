// "Test Settings" from the Radio menu against the simulated access point:
// the defaults and what Start sends, the window states, the modes and
// their clearing, the close timer, the CR31 check.

#include "radio_window_fixture.h"

#include "config/configuration_store.h"
#include "dialogs/masked_hex_edit.h"
#include "radiotest/frm_test_mode.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

using snmp::Value;

namespace {

// The controls of the state table that are on screen, in a fixed order.
QStringList shown(const frmTestMode *w)
{
    QStringList names;
    for (const QWidget *c : {static_cast<const QWidget *>(w->Frame1), static_cast<const QWidget *>(w->StartCommand),
                             static_cast<const QWidget *>(w->CloseCommand),
                             static_cast<const QWidget *>(w->CancelCommand)}) {
        if (c->isVisible())
            names << c->objectName();
    }
    return names;
}

// The mode boxes and the parameter frame that take input.
QStringList enabled(const frmTestMode *w)
{
    QStringList names;
    for (const QWidget *c : {static_cast<const QWidget *>(w->ContinuousRxCheck),
                             static_cast<const QWidget *>(w->ContinuousTxWithoutModCheck),
                             static_cast<const QWidget *>(w->ContinuousTxWithModCheck),
                             static_cast<const QWidget *>(w->Frame2)}) {
        if (c->isEnabled())
            names << c->objectName();
    }
    return names;
}

QString commandOnDevice(const sim::SimulatedAccessPoint &device)
{
    return QString::fromLatin1(device.value(QStringLiteral("TestModeCommandStruct")).bytes.toHex().toUpper());
}

const QStringList kSetup = {QStringLiteral("StartCommand"), QStringLiteral("CancelCommand")};
const QStringList kTest = {QStringLiteral("Frame1"), QStringLiteral("CloseCommand")};
const QStringList kAllEnabled = {QStringLiteral("ContinuousRxCheck"), QStringLiteral("ContinuousTxWithoutModCheck"),
                                 QStringLiteral("ContinuousTxWithModCheck"), QStringLiteral("Frame2")};

}  // namespace

class TestFrmTestMode : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startWithTheDefaults();
    void silentDeviceStaysInSetup();
    void modes_data();
    void modes();
    void closeTimer_data();
    void closeTimer();
    void cr31Check_data();
    void cr31Check();

private:
    void start();
    std::unique_ptr<RadioWindowFixture> f_;
    QPointer<frmTestMode> w_;
};

void TestFrmTestMode::init()
{
    f_ = std::make_unique<RadioWindowFixture>();
    QVERIFY(f_->connect());
    f_->window->mnuRadioTests->trigger();
    w_ = f_->window->testModeWindow();
    QVERIFY(w_);
    QVERIFY(QTest::qWaitForWindowExposed(w_));
}

void TestFrmTestMode::cleanup()
{
    f_.reset();
}

void TestFrmTestMode::start()
{
    w_->StartCommand->click();
    QCOMPARE(w_->StatusBar->text(), QStringLiteral("Device is at Test mode.."));
    f_->device.clearReceivedRequests();
}

void TestFrmTestMode::startWithTheDefaults()
{
    QCOMPARE(w_->windowTitle(), QStringLiteral("Test Settings"));
    QVERIFY(w_->isModal());
    QCOMPARE(w_->StatusBar->text(), QStringLiteral("Push start Test Mode button..."));
    QCOMPARE(shown(w_), kSetup);
    QCOMPARE(w_->CR31edit->placesText(), QStringLiteral("C0"));
    QVERIFY(w_->AntennaOption[0]->isChecked());
    QVERIFY(w_->TxFilterOption[0]->isChecked());
    QVERIFY(w_->RateOption[3]->isChecked());
    QCOMPARE(w_->ChannelCombo->currentText(), QStringLiteral("Channel 1"));
    const int setupHeight = w_->height();

    w_->StartCommand->click();
    QCOMPARE(f_->requestedObjects(), (QStringList{"TestModeOnOff", "TestModeCommandStruct"}));
    QCOMPARE(commandOnDevice(f_->device), QStringLiteral("0101C00301040000"));
    QCOMPARE(w_->StatusBar->text(), QStringLiteral("Device is at Test mode.."));
    QCOMPARE(shown(w_), kTest);
    QTRY_VERIFY(w_->height() > setupHeight);  // enlarged to show the modes
}

void TestFrmTestMode::silentDeviceStaysInSetup()
{
    f_->device.faults.silent = true;
    w_->StartCommand->click();
    QCOMPARE(w_->StatusBar->text(), QStringLiteral("Device not responding..Try again"));
    QCOMPARE(f_->device.receivedRequests().size(), 8);  // four runs of two requests
    QCOMPARE(shown(w_), kSetup);
}

void TestFrmTestMode::modes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QString>("command");  // on the device afterwards
    QTest::addColumn<QString>("text");
    QTest::newRow("Rx") << "ContinuousRxCheck" << false << "0101C00301020000" << "ContinuousRx State..";
    QTest::newRow("Tx with modulation") << "ContinuousTxWithModCheck" << false << "0101C00301010000"
                                        << "ContinuousTx State..";
    QTest::newRow("carrier accuracy") << "ContinuousTxWithoutModCheck" << false << "0101C00301030000"
                                      << "Carrier Accuracy State..";
    QTest::newRow("Rx, silent device locks all the same")
        << "ContinuousRxCheck" << true << "0101C00301040000"
        << "Error-The device is not at ContinuousRx State.Try again..";
}

void TestFrmTestMode::modes()
{
    QFETCH(QString, box);
    QFETCH(bool, silent);
    QFETCH(QString, command);
    QFETCH(QString, text);
    start();
    auto *mode = w_->findChild<QCheckBox *>(box);
    QVERIFY(mode);
    f_->device.faults.silent = silent;
    mode->click();
    QCOMPARE(w_->StatusBar->text(), text);
    QCOMPARE(commandOnDevice(f_->device), command);
    QCOMPARE(enabled(w_), QStringList{box});
    QCOMPARE(w_->state(), frmTestMode::State::ModeActive);

    f_->device.faults.silent = false;
    f_->device.clearReceivedRequests();
    mode->click();
    QCOMPARE(f_->requestedObjects(), QStringList{"TestModeCommandStruct"});
    QCOMPARE(commandOnDevice(f_->device), QStringLiteral("0101C00301040000"));
    QCOMPARE(w_->StatusBar->text(), QStringLiteral("Idle State.."));
    QCOMPARE(enabled(w_), kAllEnabled);
}

void TestFrmTestMode::closeTimer_data()
{
    QTest::addColumn<bool>("resetUnanswered");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("requests");
    QTest::newRow("device answers") << false << "The device is at Normal mode" << 2;
    // Each run waits out the reset's time-out, well past the close timer.
    QTest::newRow("reset unanswered") << true << "Error-The device is not at Normal mode" << 8;
}

void TestFrmTestMode::closeTimer()
{
    QFETCH(bool, resetUnanswered);
    QFETCH(QString, text);
    QFETCH(int, requests);
    start();
    w_->ContinuousRxCheck->click();
    f_->device.clearReceivedRequests();
    if (resetUnanswered)
        f_->device.faults.silentObjects = {QStringLiteral("sysReset")};
    QVector<bool> windowShownAtRequest;
    QObject::connect(&f_->device, &sim::SimulatedAccessPoint::requestReceived, w_,
                     [this, &windowShownAtRequest] { windowShownAtRequest << (w_ && w_->isVisible()); });

    w_->CloseCommand->click();
    QCOMPARE(w_->StatusBar->text(), text);
    QCOMPARE(f_->requestedObjects().mid(0, 2), (QStringList{"TestModeCommandStruct", "sysReset"}));
    QCOMPARE(windowShownAtRequest, QVector<bool>(requests, true));
    if (!resetUnanswered) {
        QVERIFY(w_->Timer1.isActive());
        QCOMPARE(w_->Timer1.interval(), qRound(3000 * RadioWindowFixture::kTimeScale));
        QCOMPARE(f_->device.value(QStringLiteral("TestModeOnOff")), Value::integer(0));
        QVERIFY(!w_->Frame1->isEnabled() && !w_->CloseCommand->isEnabled());  // nothing restarts a test
    }
    QTRY_VERIFY(w_.isNull());
}

void TestFrmTestMode::cr31Check_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("warned");
    QTest::addColumn<QString>("stored");  // by the next Start, warned or not
    QTest::newRow("7F") << "7F" << true << "7F";
    QTest::newRow("80") << "80" << false << "80";
    QTest::newRow("FF") << "FF" << false << "FF";
    QTest::newRow("G0 reads as 0") << "G0" << true << "G0";
    QTest::newRow("one empty place reads as C") << "C" << true << "C_";
}

void TestFrmTestMode::cr31Check()
{
    QFETCH(QString, typed);
    QFETCH(bool, warned);
    QFETCH(QString, stored);
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_));
    w_->CR31edit->setFocus();
    w_->CR31edit->selectAll();
    QTest::keyClick(w_->CR31edit, Qt::Key_Delete);
    w_->CR31edit->home(false);
    QTest::keyClicks(w_->CR31edit, typed);
    QTest::keyClick(w_->CR31edit, Qt::Key_Tab);
    QCoreApplication::processEvents();
    QCOMPARE(f_->boxes.told, warned ? QStringList{"Wrong CR31 value.."} : QStringList());
    QCOMPARE(QApplication::focusWidget() == w_->CR31edit, warned);

    w_->StartCommand->click();
    QCOMPARE(config::store().testModeCR31, stored);
}

QTEST_MAIN(TestFrmTestMode)
#include "test_frm_test_mode.moc"
