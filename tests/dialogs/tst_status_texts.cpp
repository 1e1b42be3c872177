// What the windows say for each report of the session: the texts made in
// one place from the typed results, one row per kind of outcome. (The trap
// switch's texts: test_trap_recorder, end to end.)

#include "dialogs/status_texts.h"

#include "config/device_objects.h"

#include <QTest>

using agent::JobResult;
using R = agent::SessionReport;


namespace {

R report(R::Event event, JobResult::Error error = JobResult::NoError,
         std::optional<config::Group> group = std::nullopt, const char *object = nullptr)
{
    R r;
    r.event = event;
    r.result = JobResult::failed(error, group, object ? config::objectNamed(QLatin1String(object)) : nullptr);
    return r;
}

}  // namespace

class TestStatusTexts : public QObject {
    Q_OBJECT
private slots:
    void texts_data()
    {
        using G = config::Group;
        QTest::addColumn<R>("report");
        QTest::addColumn<QString>("text");
        R refused = report(R::DownloadFailed, JobResult::NotAllowed);
        refused.result.detail = QStringLiteral("Request to 192.168.1.250 refused");
        R ports = report(R::TrapPortInUse);
        ports.port = 1162;
        QTest::newRow("a group's value breaks a rule") << report(R::ReadFailed, JobResult::Rejected, G::Traps)
                                                       << "Network Error-Not expected Traps values.Try connect again.";
        QTest::newRow("a value missing") << report(R::ReadFailed, JobResult::Malformed, G::Privacy)
                                         << "Network Error4-Not all values retrieved.";
        QTest::newRow("no answer") << report(R::ReadFailed, JobResult::Timeout, G::HardConf)
                                   << "Network Error1-Not all values retrieved.";
        QTest::newRow("statistics refused") << report(R::ReadFailed, JobResult::Refused, G::EthernetStatistics)
                                            << "Network Error10-Not all values retrieved.";
        QTest::newRow("a group not read")
            << report(R::DownloadRefused, JobResult::NotRead, G::WirelessOperational)
            << "Download refused: wireless operational settings not read from the device since the last connect. "
               "Connect again, then try again.";
        QTest::newRow("a value the device refuses")
            << report(R::DownloadRefused, JobResult::InvalidValue, G::WirelessOperational, "operChannelID")
            << "Download refused: Channel - Choose a channel from 1 to 14.";
        QTest::newRow("the guard's words win") << refused << "Request to 192.168.1.250 refused";
        QTest::newRow("download failed") << report(R::DownloadFailed, JobResult::WrongEcho)
                                         << "Network Error-Download not complete successfully";
        QTest::newRow("nobody answered") << report(R::NotFound, JobResult::Timeout) << "TARVO Wireless Network not found...";
        QTest::newRow("reset failed") << report(R::ResetFailed, JobResult::Refused) << "Error - Reset command not issued...";
        QTest::newRow("restore issued") << report(R::RestoreIssued) << "Restore Defaults command issued....";
        QTest::newRow("trap port taken") << ports
                                         << "Trap port(1162) is in use. Check to to see if another manager is running, "
                                            "then restart this one.";
    }

    void texts()
    {
        QFETCH(R, report);
        QFETCH(QString, text);
        QCOMPARE(dialogs::statusText(report), text);
    }
};

QTEST_GUILESS_MAIN(TestStatusTexts)
#include "tst_status_texts.moc"
