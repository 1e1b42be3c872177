// The exporter under a real Prometheus: three simulated access points,
// the exporter and Prometheus as separate processes on loopback, scraped
// every half second with the multi-target relabelling of docs/exporter.md.
// The counters are read back through Prometheus's query API and must grow
// from one scrape to the next; promtool finds nothing to say about the
// exporter's output. Skipped when Prometheus is not installed.
//
//   ctest -L prometheus     runs this test alone

#include "http_client.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kDevices = 3;

// The first line of `process`'s output that starts with `prefix`, within `ms`.
QByteArray lineStartingWith(QProcess &process, const QByteArray &prefix, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        while (process.canReadLine()) {
            const QByteArray line = process.readLine().trimmed();
            if (line.startsWith(prefix))
                return line.mid(prefix.size());
        }
        process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    return {};
}

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

struct Stopped {
    QProcess &process;
    ~Stopped()
    {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(1000);
    }
};

// instance -> value of the instant vector `query`.
QHash<QString, double> queryPrometheus(quint16 port, const QString &query)
{
    const HttpAnswer answer =
        httpGet(port, QStringLiteral("/api/v1/query?query=%1").arg(QString::fromLatin1(QUrl::toPercentEncoding(query))));
    QHash<QString, double> values;
    const QJsonArray result = QJsonDocument::fromJson(answer.body).object()[QLatin1String("data")]
                                  .toObject()[QLatin1String("result")].toArray();
    for (const QJsonValue &series : result) {
        const QString instance = series[QLatin1String("metric")][QLatin1String("instance")].toString();
        values.insert(instance, series[QLatin1String("value")].toArray().at(1).toString().toDouble());
    }
    return values;
}

// Polls `query` until every device has a value and `accept` takes them.
QHash<QString, double> waitForValues(quint16 port, const QString &query,
                                     const std::function<bool(const QHash<QString, double> &)> &accept, int ms)
{
    QDeadlineTimer deadline(ms);
    QHash<QString, double> values;
    while (!deadline.hasExpired()) {
        values = queryPrometheus(port, query);
        if (values.size() == kDevices && accept(values))
            return values;
        QTest::qWait(200);
    }
    return values;
}

}  // namespace

class TestPrometheus : public QObject {
    Q_OBJECT
private slots:
    void countersThroughPrometheus()
    {
        const QString prometheus = QStandardPaths::findExecutable(QStringLiteral("prometheus"));
        const QString promtool = QStandardPaths::findExecutable(QStringLiteral("promtool"));
        if (prometheus.isEmpty() || promtool.isEmpty())
            QSKIP("prometheus is not installed (Debian package prometheus; scripts/install-deps.sh installs it)");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());

        QProcess apsim;
        apsim.start(QStringLiteral(CORVANE_BINARY_DIR "/bin/apsim"),
                    {"--count", QString::number(kDevices), "--address", "127.0.3.1", "--port", "0"});
        Stopped stopApsim{apsim};
        QStringList devices;
        for (int i = 0; i < kDevices; ++i)
            devices << QString::fromLatin1(lineStartingWith(apsim, "listening on "));
        QVERIFY2(!devices.contains(QString()), qPrintable(apsim.readAllStandardError()));

        QProcess exporter;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CORVANE_COMMUNITY"), QStringLiteral("kavrel"));
        exporter.setProcessEnvironment(env);
        exporter.start(QStringLiteral(CORVANE_BINARY_DIR "/bin/corvane-exporter"),
                       {"--listen", "127.0.0.1:0", "--allow", "127.0.3.0/24"});
        Stopped stopExporter{exporter};
        const QByteArray listening = lineStartingWith(exporter, "corvane-exporter listening on http://127.0.0.1:");
        const quint16 exporterPort = quint16(listening.left(listening.indexOf('/')).toUInt());
        QVERIFY2(exporterPort != 0, qPrintable(exporter.readAllStandardError()));

        // What Prometheus will see, checked by Prometheus's own linter.
        const HttpAnswer sample = httpGet(exporterPort, QStringLiteral("/snmp?target=%1").arg(devices[0]));
        QCOMPARE(sampleOf(sample.body, "corvane_up"), std::optional<double>(1));
        for (const QByteArray &text : {sample.body, httpGet(exporterPort, QStringLiteral("/metrics")).body}) {
            QProcess check;
            check.start(promtool, {"check", "metrics"});
            check.write(text);
            check.closeWriteChannel();
            QVERIFY(check.waitForFinished(10000));
            const QByteArray said = check.readAllStandardOutput() + check.readAllStandardError();
            QVERIFY2(check.exitCode() == 0 && said.trimmed().isEmpty(), said);
        }

        const quint16 prometheusPort = freeLoopbackPort();
        QFile config(dir.filePath(QStringLiteral("prometheus.yml")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("global:\n"
                                    "  scrape_interval: 500ms\n"
                                    "  scrape_timeout: 500ms\n"
                                    "scrape_configs:\n"
                                    "  - job_name: corvane\n"
                                    "    metrics_path: /snmp\n"
                                    "    static_configs:\n"
                                    "      - targets: ['%1']\n"
                                    "    relabel_configs:\n"
                                    "      - source_labels: [__address__]\n"
                                    "        target_label: __param_target\n"
                                    "      - source_labels: [__param_target]\n"
                                    "        target_label: instance\n"
                                    "      - target_label: __address__\n"
                                    "        replacement: 127.0.0.1:%2\n")
                         .arg(devices.join(QLatin1String("', '")))
                         .arg(exporterPort)
                         .toUtf8());
        config.close();
        QProcess server;
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.start(prometheus, {"--config.file=" + config.fileName(),
                                  "--storage.tsdb.path=" + dir.filePath(QStringLiteral("data")),
                                  QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(prometheusPort),
                                  "--log.level=warn"});
        Stopped stopServer{server};
        QVERIFY(server.waitForStarted(5000));

        // Every device up, seen by the exporter and by Prometheus itself
        // (the exporter's corvane_up does not clash with Prometheus's up).
        const auto allOne = [](const QHash<QString, double> &v) {
            return std::all_of(v.begin(), v.end(), [](double x) { return x == 1; });
        };
        QCOMPARE(waitForValues(prometheusPort, QStringLiteral("corvane_up"), allOne, 15000).keys().size(), kDevices);
        QVERIFY(allOne(waitForValues(prometheusPort, QStringLiteral("up{job=\"corvane\"}"), allOne, 5000)));

        // The counters, and then larger counters at a later scrape.
        const QString counter = QStringLiteral("corvane_wireless_unicast_tx_packets_total");
        const QHash<QString, double> before = waitForValues(
            prometheusPort, counter, [](const QHash<QString, double> &) { return true; }, 5000);
        QCOMPARE(QStringList(before.keys()).size(), kDevices);
        for (const QString &device : std::as_const(devices))
            QVERIFY2(before.contains(device), qPrintable(device));
        const QHash<QString, double> after = waitForValues(
            prometheusPort, counter,
            [&](const QHash<QString, double> &now) {
                for (auto it = now.begin(); it != now.end(); ++it) {
                    if (it.value() <= before.value(it.key()))
                        return false;
                }
                return true;
            },
            5000);
        for (const QString &device : std::as_const(devices))
            QVERIFY2(after.value(device) > before.value(device), qPrintable(device));
        QCOMPARE(queryPrometheus(prometheusPort, QStringLiteral("corvane_ethernet_rx_bytes_total > 0")).size(),
                 kDevices);
    }
};

QTEST_GUILESS_MAIN(TestPrometheus)
#include "test_prometheus.moc"
