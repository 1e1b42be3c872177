#include "dialog_test_support.h"
#include "dialogs/frm_bridge_ip_settings.h"
#include "dialogs/frm_bridge_operational_mode.h"
#include "dialogs/frm_wireless_operational_settings.h"
#include "dialogs/frm_wireless_privacy_options.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <functional>

using DialogFactory = std::function<QDialog *()>;
Q_DECLARE_METATYPE(DialogFactory)

// Each dialog unloads itself and the MDI frame it sits in on OK and Cancel.
class TestSettingsDialogHosting : public QObject {
    Q_OBJECT

private slots:
    void closesItsFrameWhenDone_data();
    void closesItsFrameWhenDone();
};

void TestSettingsDialogHosting::closesItsFrameWhenDone_data()
{
    QTest::addColumn<DialogFactory>("make");
    QTest::addColumn<QString>("caption");
    const QList<QPair<DialogFactory, QString>> dialogs = {
        {[] { return new frmBridgeIPSettings; }, "Bridge IP Configuration"},
        {[] { return new frmWireLessOperationalSettings; }, "WireLess Operational Settings"},
        {[] { return new frmWireLessPrivacyOptions; }, "WireLess Privacy Options"},
        {[] { return new frmBridgeOperationalMode; }, "Bridge Operational Mode"}};
    for (const auto &[make, caption] : dialogs) {
        QTest::addRow("%s, OK", qPrintable(caption)) << make << caption;
        QTest::addRow("%s, Cancel", qPrintable(caption)) << make << caption;
    }
}

void TestSettingsDialogHosting::closesItsFrameWhenDone()
{
    QFETCH(DialogFactory, make);
    QFETCH(QString, caption);
    const bool ok = QString::fromLatin1(QTest::currentDataTag()).endsWith(QLatin1String("OK"));
    QMdiArea area;
    area.show();
    QPointer<QDialog> dialog = make();
    QCOMPARE(dialog->windowTitle(), caption);
    QPointer<QMdiSubWindow> frame = area.addSubWindow(dialog);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->show();
    int finishedWith = -1;
    connect(dialog, &QDialog::finished, this, [&finishedWith](int result) { finishedWith = result; });
    press(dialog, ok ? "OKCommand" : "CancelCommand");
    QCOMPARE(finishedWith, int(ok ? QDialog::Accepted : QDialog::Rejected));
    QVERIFY(dialog.isNull());
    QVERIFY(frame.isNull());
}

QTEST_MAIN(TestSettingsDialogHosting)
#include "tst_settings_dialog_hosting.moc"
