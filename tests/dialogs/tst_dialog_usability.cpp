// What every window owes a keyboard or screen-reader user, as Qt's
// accessibility layer reports it (what AT-SPI passes on): the window's
// role; each input named by its label (a list by its label, not its
// value); disabled tabs reported disabled; an access key on every label of
// an input and every button, none twice where they can fire together; the
// status line's text and its changes; and Tab into a group of options
// lands on the selected one.

#include "agent/device_session.h"
#include "settings/app_settings.h"
#include "app/frm_main.h"
#include "app/frm_options.h"
#include "app/help_window.h"
#include "app/message_history_window.h"
#include "app/status_line.h"
#include "app/status_panel.h"
#include "config/encodings.h"
#include "dialogs/frm_bridge_ip_settings.h"
#include "dialogs/frm_bridge_operational_mode.h"
#include "dialogs/frm_device_info.h"
#include "dialogs/frm_configuration_differences.h"
#include "dialogs/frm_ethernet_statistics.h"
#include "dialogs/frm_find_devices.h"
#include "dialogs/frm_live_statistics.h"
#include "dialogs/frm_info_statistics.h"
#include "dialogs/frm_ip_address.h"
#include "dialogs/frm_wireless_operational_settings.h"
#include "dialogs/frm_trap_log.h"
#include "dialogs/frm_wireless_privacy_options.h"
#include "quicksetup/frm_main2.h"
#include "radiotest/frm_radio_configuration.h"
#include "radiotest/frm_test_mode.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QToolButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What a screen reader announces for the control: its own caption for a
// button, its label for a list, otherwise the label that names it (or a
// name given in code).
QString spokenName(QWidget *control)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
    if (!iface)
        return QString();
    if (qobject_cast<QAbstractButton *>(control) || qobject_cast<QComboBox *>(control)
        || !control->accessibleName().isEmpty())
        return iface->text(QAccessible::Name);
    const auto labels = iface->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.constFirst().first->text(QAccessible::Name);
}

// The single-'&' key of a caption, lower case, or a null QChar.
QChar accessKey(const QString &caption)
{
    const QString marks = QString(caption).remove(QLatin1String("&&"));
    const qsizetype at = marks.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < marks.size() ? marks[at + 1].toLower() : QChar();
}

// Where an access key can fire: the window's page in its tab control, or
// the window itself outside the tabs.
const QWidget *keyScope(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget()) {
        if (p->parentWidget() && qobject_cast<QTabWidget *>(p->parentWidget()->parentWidget()))
            return p;
    }
    return nullptr;
}

// Controls a user reaches; scroll bars and Qt's own inner parts (named
// "qt_...") speak for themselves.
bool isInput(QWidget *w)
{
    if (qobject_cast<QScrollBar *>(w) || w->objectName().startsWith(QLatin1String("qt_"))
        || w->inherits("QLineEditIconButton"))
        return false;
    return qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractButton *>(w) ||
           qobject_cast<QAbstractSpinBox *>(w) || qobject_cast<QAbstractSlider *>(w);
}

}  // namespace

class TestDialogUsability : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { settings::useSettingsFile(settingsDir_.filePath("settings.ini")); }
    void cleanupTestCase() { settings::useSettingsFile(QString()); }
    void init() { session_.device().store() = config::ConfigurationStore(); }
    void cleanup() { window_.reset(); }

    void rolesNamesAndAccessKeys_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("role");
        const int dialog = QAccessible::Dialog, window = QAccessible::Window;
        for (const char *name : {"frmIPAddress", "frmBridgeIPSettings", "frmBridgeOperationalMode",
                                 "frmWireLessOperationalSettings", "frmWireLessPrivacyOptions", "frmOptions",
                                 "frmDeviceInfo", "frmInfoStatistics", "frmEthernetStatistics", "frmTestMode",
                                 "frmRadioConfiguration", "messageHistory", "frmConfigurationDifferences"})
            QTest::newRow(name) << QString::fromLatin1(name) << dialog;
        for (const char *name : {"frmMain", "FrmMain2", "helpWindow", "frmTrapLog", "frmFindDevices", "frmLiveStatistics"})
            QTest::newRow(name) << QString::fromLatin1(name) << window;
    }

    void rolesNamesAndAccessKeys()
    {
        QFETCH(QString, window);
        QFETCH(int, role);
        QWidget *shown = open(window);
        QVERIFY(shown);
        QCOMPARE(int(QAccessible::queryAccessibleInterface(shown)->role()), role);

        QStringList unnamed, keyless, clashes, tabs;
        QHash<const QWidget *, QHash<QChar, QString>> keys;  // per scope: key -> control
        for (QWidget *control : shown->findChildren<QWidget *>()) {
            if (control->window() != shown)
                continue;
            const QString name = control->objectName() + ':' + control->metaObject()->className() + '('
                                 + control->property("text").toString() + ' ' + control->toolTip() + ')';
            if (isInput(control) && spokenName(control).trimmed().isEmpty())
                unnamed << name;
            // A list is named by its label, never by the value it shows.
            if (auto *list = qobject_cast<QComboBox *>(control); list && list->count() > 0)
                QVERIFY2(spokenName(list) != list->currentText(), qPrintable(name));
            if (auto *bar = qobject_cast<QTabBar *>(control)) {
                QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(bar);
                for (int i = 0; i < bar->count(); ++i)
                    tabs << bar->tabText(i) + (iface->child(i)->state().disabled ? " (disabled)" : "");
            }
            // Access keys on the labels of inputs a user changes, and on buttons.
            QString caption;
            auto *label = qobject_cast<QLabel *>(control);
            auto *box = label ? qobject_cast<QLineEdit *>(label->buddy()) : nullptr;
            if (label && label->buddy() && !(box && box->isReadOnly()))
                caption = label->text();
            auto *button = qobject_cast<QAbstractButton *>(control);
            if (button && !qobject_cast<QToolButton *>(button) && !QStringList{"OK", "Cancel"}.contains(button->text().trimmed()))
                caption = button->text();
            if (caption.trimmed().isEmpty())
                continue;
            const QChar key = accessKey(caption);
            // An option whose group another option's key reaches needs none:
            // the arrow keys choose within the group.
            const auto reachedInGroup = [button] {
                if (!qobject_cast<QRadioButton *>(button))
                    return false;
                for (auto *other : button->parentWidget()->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly))
                    if (!accessKey(other->text()).isNull())
                        return true;
                return false;
            };
            if (key.isNull() && !reachedInGroup())
                keyless << name;
            else if (key.isNull())
                continue;
            else if (keys[keyScope(control)].contains(key) || keys[nullptr].contains(key))
                clashes << keys[keyScope(control)].value(key, keys[nullptr].value(key)) + " and " + name;
            else
                keys[keyScope(control)].insert(key, name);
        }
        QCOMPARE(unnamed.join(", "), QString());
        QCOMPARE(keyless.join(", "), QString());
        QCOMPARE(clashes.join(", "), QString());
        if (window == "FrmMain2")  // the setting tabs wait for a device
            QCOMPARE(tabs, (QStringList{"Status", "Basic Setting (disabled)", "Advanced (disabled)",
                                        "IP Setting (disabled)", "WEP (disabled)", "About"}));
        if (window == "frmMain") {
            auto *panel = qobject_cast<app::StatusPanel *>(static_cast<frmMain *>(shown)->statusPanel(1));
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(panel);
            QCOMPARE(iface->role(), QAccessible::StaticText);
            QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Status"));
            QCOMPARE(QAccessible::queryAccessibleInterface(static_cast<frmMain *>(shown)->statusPanel(3))
                         ->text(QAccessible::Name),
                     QStringLiteral("Trap received"));
        }
    }

    // The hand-drawn status line says its current text, whole (the panel
    // may cut it with "…"); its press action opens the message history.
    // (Name-change events go out only while an assistive technology
    // listens, which needs a platform bridge this test has not.)
    void statusLineSpeaksItsText()
    {
        auto *main = static_cast<frmMain *>(open("frmMain"));
        QWidget *panel = main->statusPanel(1);
        const QString text(300, QLatin1Char('x'));
        main->showStatus(text);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(panel);
        QCOMPARE(iface->text(QAccessible::Name), text);
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(main->messageHistoryWindow() && main->messageHistoryWindow()->isVisible());
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
        auto &store = session_.device().store();
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
            {"frmBridgeIPSettings", [this] { return new frmBridgeIPSettings(session_.device()); }},
            {"frmBridgeOperationalMode", [this] { return new frmBridgeOperationalMode(session_.device()); }},
            {"frmWireLessOperationalSettings", [this] { return new frmWireLessOperationalSettings(session_.device()); }},
            {"frmWireLessPrivacyOptions", [this] { return new frmWireLessPrivacyOptions(session_.device()); }},
            {"frmOptions", [this] { return new frmOptions(session_); }},
            {"frmDeviceInfo", [this] { return new frmDeviceInfo(session_.device()); }},
            {"frmInfoStatistics", [this] { return new frmInfoStatistics(session_); }},
            {"frmEthernetStatistics", [this] { return new frmEthernetStatistics(session_); }},
            {"frmTestMode", [this] { return new frmTestMode(session_); }},
            {"frmRadioConfiguration", [this] { return new frmRadioConfiguration(session_); }},
            {"frmTrapLog", [this] { return new frmTrapLog(session_.trapReception()); }},
            {"messageHistory", [this] { return new app::MessageHistoryWindow(statusLine_); }},
            {"frmFindDevices", [this] { return new frmFindDevices(session_); }},
            {"frmLiveStatistics", [this] { return new frmLiveStatistics(session_); }},
            {"frmConfigurationDifferences", [this] {
                 config::SettingsFile file{{}, QDateTime::currentDateTime(), {{"essid", "other"}, {"ip-address", "10.0.0.2"}}};
                 return new frmConfigurationDifferences(file, "lab.json", session_.device().store());
             }},
            {"frmMain", [] { return new frmMain(agent::SessionOptions{}); }},
            {"FrmMain2", [] { return new FrmMain2; }},
            {"helpWindow", [this]() -> QWidget * {
                 const QString bin = QCoreApplication::applicationDirPath() + QLatin1Char('/');
                 for (const char *file : {"SNMPHelp.qhc", "SNMPHelp.qch"})
                     QFile::copy(bin + file, settingsDir_.filePath(file));
                 return app::HelpWindow::open(settingsDir_.filePath("SNMPHelp.qhc"));
             }}};
        window_.reset(make.value(window)());
        if (!window_)
            return nullptr;
        // Settings dialogs delete themselves when they close; the test does.
        window_->setAttribute(Qt::WA_DeleteOnClose, false);
        window_->show();
        return window_.get();
    }

    QTemporaryDir settingsDir_;
    agent::DeviceSession session_{agent::SessionOptions{}};
    app::StatusLine statusLine_;
    std::unique_ptr<QWidget> window_;
};

QTEST_MAIN(TestDialogUsability)
#include "tst_dialog_usability.moc"
