// The exporter as Prometheus meets it: HTTP requests in, the text format
// out, SNMP to simulated access points on loopback. What is checked is
// what a monitoring system or an administrator notices: metric names and
// values, statuses and reasons, the time an answer takes and what reaches
// the device on the wire.

#include "http_client.h"

#include "exporter/exporter_options.h"
#include "exporter/exporter_server.h"
#include "config/encodings.h"
#include "sim/simulated_access_point.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using snmp::Value;

namespace {

struct Exporter {
    explicit Exporter(const QStringList &allow = {QStringLiteral("127.0.0.0/8")})
    {
        exporter::ExporterServer::Settings settings;
        for (const QString &network : allow)
            settings.limits.allowed.add(*exporter::AllowList::parseNetwork(network, nullptr));
        settings.pool.community = "kavrel";
        server = std::make_unique<exporter::ExporterServer>(settings);
        QString error;
        port = server->start(QHostAddress::LocalHost, 0, &error);
        if (port == 0)
            qFatal("exporter did not start: %s", qPrintable(error));
    }
    HttpAnswer scrape(const sim::SimulatedAccessPoint &ap, const QByteArray &timeout = "5",
                      const QString &path = QStringLiteral("/metrics")) const
    {
        return httpGet(port, QStringLiteral("%1?target=127.0.0.1:%2").arg(path).arg(ap.port()), timeout);
    }
    QByteArray ownFigures() const { return httpGet(port, QStringLiteral("/metrics")).body; }

    std::unique_ptr<exporter::ExporterServer> server;
    quint16 port = 0;
};

void startDevice(sim::SimulatedAccessPoint &ap)
{
    if (!ap.start(QHostAddress::LocalHost, 0))
        qFatal("simulated access point did not start");
}

// Each request's objects, by name, in arrival order.
QVector<QStringList> requestedObjects(const sim::SimulatedAccessPoint &ap)
{
    QVector<QStringList> requests;
    for (const snmp::Message &request : ap.receivedRequests()) {
        QStringList names;
        for (const snmp::VarBind &vb : request.pdu.varBinds)
            names << ap.mib().nameOf(snmp::oidToText(vb.name.mid(0, vb.name.size() - 1)));
        requests << names;
    }
    std::sort(requests.begin(), requests.end());
    return requests;
}

// Counters base x 1 .. base x count, 4 bytes each, least significant first;
// the last one `last` when given.
Value counters(int count, quint32 base, quint32 last = 0)
{
    QByteArray bytes;
    for (int k = 1; k <= count; ++k) {
        const quint32 c = k == count && last ? last : base * quint32(k);
        for (int i = 0; i < 4; ++i)
            bytes.append(char((c >> (8 * i)) & 0xff));
    }
    return Value::octets(bytes);
}

const QVector<QStringList> kStatisticsRequests = {{"EthRxStatistics", "EthTxStatistics"}, {"wirelessStatistics"}};
const QStringList kIdentityRequest = {"sysDescr", "sysDeviceInfo", "operChannelID", "operESSID"};

}  // namespace

class TestExporter : public QObject {
    Q_OBJECT
private slots:
    // A device's counters under their names with their values; its
    // identity with the ESSID escaped; the identity read once, the
    // counters with every scrape.
    void deviceScrape()
    {
        sim::SimulatedAccessPoint ap;
        startDevice(ap);
        ap.setValue(QStringLiteral("wirelessStatistics"), counters(22, 1001, 0xFFFFFFF0u));  // above 2^31: unsigned
        ap.setValue(QStringLiteral("EthRxStatistics"), counters(16, 70001));
        ap.setValue(QStringLiteral("EthTxStatistics"), counters(14, 90001));
        ap.setValue(QStringLiteral("operChannelID"), Value::integer(6));
        ap.setValue(QStringLiteral("operESSID"), Value::octets("a\"b\\c\nd"));
        Exporter e;

        const HttpAnswer first = e.scrape(ap);
        QCOMPARE(first.status, 200);
        QVERIFY2(first.contentType.startsWith("text/plain; version=0.0.4"), first.contentType);
        const QByteArray &text = first.body;
        const QList<QByteArray> lines = text.trimmed().split('\n');
        QCOMPARE(lines.count(QByteArray()), 0);
        for (const QByteArray &line : lines)
            QVERIFY2(line.startsWith("# HELP corvane_") || line.startsWith("# TYPE corvane_") ||
                         line.startsWith("corvane_"),
                     line);
        QCOMPARE(std::count_if(lines.begin(), lines.end(),
                               [](const QByteArray &l) { return l.startsWith("# TYPE ") && l.endsWith("_total counter"); }),
                 52);
        const QVector<QPair<QByteArray, double>> samples = {
            {"corvane_up", 1},
            {"corvane_scrape_exchanges", 3},
            {"corvane_wireless_channel", 6},
            {"corvane_wireless_unicast_tx_packets_total", 1001},
            {"corvane_wireless_beacon_rx_frames_total", 8 * 1001},
            {"corvane_wireless_invalid_plcp_frames_total", 4294967280.0},
            {"corvane_ethernet_rx_bytes_total", 70001},
            {"corvane_ethernet_rx_jabber_packets_total", 16 * 70001},
            {"corvane_ethernet_tx_bytes_total", 90001},
            {"corvane_ethernet_tx_collisions_total", 14 * 90001},
        };
        for (const auto &[series, value] : samples)
            QCOMPARE(sampleOf(text, series), std::optional<double>(value));
        const std::optional<double> duration = sampleOf(text, "corvane_scrape_duration_seconds");
        QVERIFY(duration && *duration > 0 && *duration < 5);

        const QString description = config::textFromOctets(ap.value(QStringLiteral("sysDescr")).bytes);
        const QByteArray info = "corvane_device_info{essid=\"a\\\"b\\\\c\\nd\",firmware=\"" +
                                (QStringLiteral("Corvane") + description.mid(5, 30)).toUtf8() + "\",mac=\"";
        QVERIFY2(text.contains(info), text);
        QVector<QStringList> withIdentity = kStatisticsRequests + QVector<QStringList>{kIdentityRequest};
        std::sort(withIdentity.begin(), withIdentity.end());
        QCOMPARE(requestedObjects(ap), withIdentity);

        // The SNMP exporter's path; the identity is kept, the counters are read again.
        ap.clearReceivedRequests();
        const HttpAnswer second = e.scrape(ap, "5", QStringLiteral("/snmp"));
        QCOMPARE(second.status, 200);
        QCOMPARE(sampleOf(second.body, "corvane_scrape_exchanges"), std::optional<double>(2));
        QVERIFY(second.body.contains(info));
        QCOMPARE(requestedObjects(ap), kStatisticsRequests);
    }

    // Nothing is sent for a request that cannot be right or may not be
    // served; the answer says why in one line.
    void refusedRequests_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("timeout");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no target") << "/snmp" << QByteArray() << 400 << "missing target";
        QTest::newRow("empty target") << "/metrics?target=" << QByteArray() << 400 << "target is empty";
        QTest::newRow("a name") << "/metrics?target=ap.example.net" << QByteArray() << 400 << "not an IPv4 address";
        QTest::newRow("IPv6") << "/metrics?target=%5B::1%5D:161" << QByteArray() << 400 << "not an IPv4 address";
        QTest::newRow("port 0") << "/metrics?target=127.0.0.1:0" << QByteArray() << 400 << "port must be";
        QTest::newRow("two targets") << "/metrics?target=127.0.0.1&target=127.0.0.1" << QByteArray() << 400
                                     << "more than once";
        QTest::newRow("another parameter") << "/metrics?target=127.0.0.1:PORT&module=if_mib" << QByteArray() << 400
                                           << "unknown parameter module";
        QTest::newRow("time-out not a number") << "/metrics?target=127.0.0.1:PORT" << QByteArray("soon") << 400
                                               << "X-Prometheus-Scrape-Timeout-Seconds";
        QTest::newRow("loopback, not allowed") << "/metrics?target=127.0.0.2:PORT" << QByteArray() << 403
                                               << "outside the allowed networks (127.0.0.1/32)";
        QTest::newRow("another network") << "/snmp?target=192.0.2.1" << QByteArray() << 403
                                         << "outside the allowed networks";
        QTest::newRow("allowed, but the loopback guard is on")
            << "/snmp?target=192.0.2.1 ALLOW-ALL" << QByteArray() << 403 << "CORVANE_LOOPBACK_ONLY";
    }

    void refusedRequests()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, timeout);
        QFETCH(int, status);
        QFETCH(QString, reason);
        sim::SimulatedAccessPoint ap;
        startDevice(ap);
        const bool allowAll = path.endsWith(QLatin1String(" ALLOW-ALL"));
        path.remove(QLatin1String(" ALLOW-ALL"));
        Exporter e({allowAll ? QStringLiteral("0.0.0.0/0") : QStringLiteral("127.0.0.1/32")});
        const HttpAnswer answer = httpGet(e.port, path.replace(QLatin1String("PORT"), QString::number(ap.port())),
                                          timeout);
        QCOMPARE(answer.status, status);
        QVERIFY2(answer.body.contains(reason.toUtf8()), answer.body);
        QCOMPARE(answer.body.count('\n'), 1);
        QVERIFY(answer.body.endsWith('\n'));
        QCOMPARE(ap.receivedRequests().size(), 0);
        const QByteArray own = e.ownFigures();
        QCOMPARE(sampleOf(own, "corvane_exporter_snmp_datagrams_sent_total"), std::optional<double>(0));
        QCOMPARE(sampleOf(own, QStringLiteral("corvane_exporter_refused_requests_total{code=\"%1\"}")
                                   .arg(status).toUtf8()),
                 std::optional<double>(1));
    }

    // A device that does not answer: down within each scrape's own
    // time-out, also for a scrape that joins a read paced for a longer
    // one, and for a client that left; up again once the device answers.
    void silentDevice()
    {
        sim::SimulatedAccessPoint ap;
        startDevice(ap);
        ap.faults.silent = true;
        Exporter e;
        const QString path = QStringLiteral("/metrics?target=127.0.0.1:%1").arg(ap.port());

        QNetworkAccessManager network;
        QNetworkReply *leaving = network.get(loopbackRequest(e.port, path, "5"));  // a read paced for 4.5 s
        QTimer::singleShot(100, leaving, &QNetworkReply::abort);
        QTest::qWait(50);
        const HttpAnswer down = httpGet(e.port, path, "1");
        QCOMPARE(down.status, 200);
        QVERIFY2(down.ms < 1000, QByteArray::number(down.ms));
        QCOMPARE(sampleOf(down.body, "corvane_up"), std::optional<double>(0));
        QVERIFY(!down.body.contains("_total"));
        QVERIFY(!down.body.contains("corvane_device_info"));
        QCOMPARE(sampleOf(down.body, "corvane_scrape_exchanges"), std::optional<double>(2));  // identity, counters
        delete leaving;

        const QByteArray own = e.ownFigures();
        QCOMPARE(sampleOf(own, "corvane_exporter_scrapes_total"), std::optional<double>(1));
        QCOMPARE(sampleOf(own, "corvane_exporter_scrape_failures_total"), std::optional<double>(1));
        QCOMPARE(sampleOf(own, "corvane_exporter_scrapes_in_flight"), std::optional<double>(1));  // the one that left

        // The read under way gets the answer to its next resend.
        ap.faults.silent = false;
        QCOMPARE(sampleOf(e.scrape(ap, "5").body, "corvane_up"), std::optional<double>(1));
        QCOMPARE(sampleOf(e.ownFigures(), "corvane_exporter_device_reads_total"), std::optional<double>(1));
    }

    // Scrapes of one device at the same time share one read; different
    // devices are read side by side.
    void sharedReadsAndParallelDevices()
    {
        constexpr int kDelayMs = 250;  // each answer; a read is two GETs in a row
        sim::SimulatedAccessPoint one;
        sim::SimulatedAccessPoint two;
        for (sim::SimulatedAccessPoint *ap : {&one, &two}) {
            startDevice(*ap);
            ap->faults.delayMs = kDelayMs;
        }
        Exporter e;
        const QString target = QStringLiteral("/metrics?target=127.0.0.1:%1");
        const QVector<HttpAnswer> answers = httpGetAll(
            e.port, {target.arg(one.port()), target.arg(one.port()), target.arg(two.port()), target.arg(two.port())},
            "5");
        qint64 slowest = 0;
        for (const HttpAnswer &answer : answers) {
            QCOMPARE(sampleOf(answer.body, "corvane_up"), std::optional<double>(1));
            slowest = qMax(slowest, answer.ms);
        }
        QVERIFY2(slowest < 4 * kDelayMs - 100, QByteArray::number(slowest));  // one after the other: 4 delays
        for (sim::SimulatedAccessPoint *ap : {&one, &two})
            QCOMPARE(requestedObjects(*ap).size(), 3);

        const QByteArray own = e.ownFigures();
        QCOMPARE(sampleOf(own, "corvane_exporter_scrapes_total"), std::optional<double>(4));
        QCOMPARE(sampleOf(own, "corvane_exporter_device_reads_total"), std::optional<double>(2));
        QVERIFY(sampleOf(own, "process_resident_memory_bytes").value_or(0) > 1e6);
    }

    // The community comes from a file or the environment, never the
    // command line; the defaults keep everything on this machine.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");  // DIR/community holds "file secret\nsecond line", DIR/empty nothing
        QTest::addColumn<QString>("environment");    // CORVANE_COMMUNITY
        QTest::addColumn<QString>("error");          // empty: runs
        QTest::addColumn<QByteArray>("community");
        QTest::newRow("environment") << QStringList() << "env secret" << "" << QByteArray("env secret");
        QTest::newRow("file wins") << QStringList{"--community-file", "DIR/community"} << "env secret" << ""
                                   << QByteArray("file secret");
        QTest::newRow("none") << QStringList() << "" << "no SNMP community" << QByteArray();
        QTest::newRow("not on the command line") << QStringList{"--community", "x"} << "e" << "Unknown option"
                                                 << QByteArray();
        QTest::newRow("file missing") << QStringList{"--community-file", "DIR/missing"} << "e" << "DIR/missing"
                                      << QByteArray();
        QTest::newRow("file empty") << QStringList{"--community-file", "DIR/empty"} << "e" << "first line is empty"
                                    << QByteArray();
        QTest::newRow("network too long") << QStringList{"--allow", "10.0.0.0/33"} << "e" << "--allow: 10.0.0.0/33"
                                          << QByteArray();
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, environment);
        QFETCH(QString, error);
        QFETCH(QByteArray, community);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("community")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("file secret\nsecond line") > 0);
        file.close();
        QFile(dir.filePath(QStringLiteral("empty"))).open(QIODevice::WriteOnly);
        arguments.replaceInStrings(QStringLiteral("DIR"), dir.path());
        QProcessEnvironment env;
        if (!environment.isEmpty())
            env.insert(QStringLiteral("CORVANE_COMMUNITY"), environment);

        const exporter::ExporterCommandLine parsed =
            exporter::parseExporterCommandLine(QStringList{QStringLiteral("corvane-exporter")} + arguments, env);
        QVERIFY2(parsed.error.contains(error.replace(QLatin1String("DIR"), dir.path())), qPrintable(parsed.error));
        QCOMPARE(parsed.outcome == exporter::ExporterCommandLine::Outcome::Run, error.isEmpty());
        if (error.isEmpty()) {
            const exporter::ExporterOptions &o = parsed.options;
            QCOMPARE(o.server.pool.community, community);
            QCOMPARE(o.listenAddress, QHostAddress(QHostAddress::LocalHost));
            QCOMPARE(o.listenPort, quint16(9723));
            QCOMPARE(o.server.limits.allowed.texts(), QStringList{"127.0.0.0/8"});
        }
    }
};

QTEST_GUILESS_MAIN(TestExporter)
#include "test_exporter.moc"
