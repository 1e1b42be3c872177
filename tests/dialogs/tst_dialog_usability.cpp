// What every dialog owes a keyboard or screen-reader user: each input
// control is named by its label, and Tab into a group of options lands on
// the selected one.

#include "agent/device_session.h"
#include "app/app_settings.h"
#include "app/frm_options.h"
#include "config/encodings.h"
#include "dialogs/frm_bridge_ip_settings.h"
#include "dialogs/frm_bridge_operational_mode.h"
#include "dialogs/frm_device_info.h"
#include "dialogs/frm_ethernet_statistics.h"
#include "dialogs/frm_info_statistics.h"
#include "dialogs/frm_ip_address.h"
#include "dialogs/frm_wireless_operational_settings.h"
#include "dialogs/frm_wireless_privacy_options.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What a screen reader announces for the control: its own caption for a
// button, otherwise the label that names it (or a name given in code).
QString spokenName(QWidget *control)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
    if (!iface)
        return QString();
    if (qobject_cast<QAbstractButton *>(control) || !control->accessibleName().isEmpty())
        return iface->text(QAccessible::Name);
    const auto labels = iface->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.constFirst().first->text(QAccessible::Name);
}

bool isInput(QWidget *w)
{
    return qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractButton *>(w) ||
           qobject_cast<QAbstractSpinBox *>(w) || qobject_cast<QAbstractSlider *>(w);
}

}  // namespace

class TestDialogUsability : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { app::useSettingsFile(settingsDir_.filePath("settings.ini")); }
    void cleanupTestCase() { app::useSettingsFile(QString()); }
    void init() { config::resetStore(); }
    void cleanup() { window_.reset(); }

    void inputsNamedByTheirLabels_data()
    {
        QTest::addColumn<QString>("window");
        for (const char *window : {"frmIPAddress", "frmBridgeIPSettings", "frmBridgeOperationalMode",
                                   "frmWireLessOperationalSettings", "frmWireLessPrivacyOptions", "frmOptions",
                                   "frmDeviceInfo", "frmInfoStatistics", "frmEthernetStatistics"})
            QTest::newRow(window) << QString::fromLatin1(window);
    }

    void inputsNamedByTheirLabels()
    {
        QFETCH(QString, window);
        QWidget *dialog = open(window);
        QStringList unnamed;
        for (QWidget *control : dialog->findChildren<QWidget *>()) {
            if (isInput(control) && spokenName(control).trimmed().isEmpty())
                unnamed << control->objectName() + ':' + control->metaObject()->className();
        }
        QCOMPARE(unnamed.join(", "), QString());
    }

    void tabLandsOnSelectedOption_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("bridgeMode");    // in the store; every other group holds its second option
        QTest::addColumn<QString>("expected");  // the option Tab lands on
        QTest::newRow("preamble") << "frmWireLessOperationalSettings" << 3 << "LongPreambleOption";
        QTest::newRow("bridge mode") << "frmBridgeOperationalMode" << 3 << "WirelessBridgeOption";
        QTest::newRow("bridge mode, none selected") << "frmBridgeOperationalMode" << 0 << "APOption";
    }

    void tabLandsOnSelectedOption()
    {
        QFETCH(QString, window);
        QFETCH(int, bridgeMode);
        QFETCH(QString, expected);
        auto &store = config::store();
        store.operPreambleType = 2;
        store.operAuthenticationType = 2;
        store.operBasicRates = config::kBasicRatesAll;
        store.bridgeOperationalMode = config::Integer(bridgeMode);
        QWidget *dialog = open(window);
        QApplication::setActiveWindow(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));

        auto *target = dialog->findChild<QAbstractButton *>(expected);
        QVERIFY(target);
        // Options of one group exclude each other within their parent.
        const auto inGroup = [target](QWidget *w) {
            auto *option = qobject_cast<QAbstractButton *>(w);
            return option && option->autoExclusive() && option->parentWidget() == target->parentWidget();
        };
        // Tab on from the control the dialog starts in until the group is reached.
        for (int presses = 0; presses < 40 && !inGroup(QApplication::focusWidget()); ++presses)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(), expected);
        // The next Tab leaves the group.
        QTest::keyClick(target, Qt::Key_Tab);
        QVERIFY(!inGroup(QApplication::focusWidget()));
    }

private:
    QWidget *open(const QString &window)
    {
        const QHash<QString, std::function<QWidget *()>> make{
            {"frmIPAddress", [this] { return new frmIPAddress(session_); }},
            {"frmBridgeIPSettings", [] { return new frmBridgeIPSettings; }},
            {"frmBridgeOperationalMode", [] { return new frmBridgeOperationalMode; }},
            {"frmWireLessOperationalSettings", [] { return new frmWireLessOperationalSettings; }},
            {"frmWireLessPrivacyOptions", [] { return new frmWireLessPrivacyOptions; }},
            {"frmOptions", [this] { return new frmOptions(session_.polling()); }},
            {"frmDeviceInfo", [] { return new frmDeviceInfo; }},
            {"frmInfoStatistics", [this] { return new frmInfoStatistics(session_); }},
            {"frmEthernetStatistics", [this] { return new frmEthernetStatistics(session_); }}};
        window_.reset(make.value(window)());
        // Settings dialogs delete themselves when they close; the test does.
        window_->setAttribute(Qt::WA_DeleteOnClose, false);
        window_->show();
        return window_.get();
    }

    QTemporaryDir settingsDir_;
    agent::DeviceSession session_{agent::SessionOptions{}};
    std::unique_ptr<QWidget> window_;
};

QTEST_MAIN(TestDialogUsability)
#include "tst_dialog_usability.moc"
