// The exporter under a real Prometheus: three simulated access points,
// the exporter and Prometheus as processes of their own on loopback,
// scraped every half second with the multi-target relabelling of
// docs/exporter.md. The counters are read back through Prometheus's query
// API and must grow from one scrape to the next. Skipped when Prometheus
// is not installed; `ctest -L prometheus` runs it alone.

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
using Values = QHash<QString, double>;  // instance -> value

// What follows `prefix` on the first line of `process`'s output that starts with it.
QByteArray lineAfter(QProcess &process, const QByteArray &prefix)
{
    QDeadlineTimer deadline(10000);
    while (process.canReadLine() || process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))) {
        while (process.canReadLine()) {
            const QByteArray line = process.readLine().trimmed();
            if (line.startsWith(prefix))
                return line.mid(prefix.size());
        }
    }
    return {};
}

struct Running : QProcess {
    ~Running() override
    {
        kill();
        waitForFinished(3000);
    }
};

// Polls the instant vector `query` until every device has a value that `accept` takes.
Values waitFor(quint16 port, const QString &query, const std::function<bool(const QString &, double)> &accept)
{
    const QString path = QStringLiteral("/api/v1/query?query=") + QUrl::toPercentEncoding(query);
    Values values;
    for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); QTest::qWait(100)) {
        values.clear();
        const QJsonArray result = QJsonDocument::fromJson(httpGet(port, path).body)["data"]["result"].toArray();
        bool accepted = true;
        for (const QJsonValue &series : result) {
            const QString instance = series["metric"]["instance"].toString();
            values.insert(instance, series["value"][1].toString().toDouble());
            accepted = accepted && accept(instance, values.value(instance));
        }
        if (values.size() == kDevices && accepted)
            break;
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
        if (prometheus.isEmpty())
            QSKIP("prometheus is not installed (Debian package prometheus; scripts/install-deps.sh installs it)");
        QTemporaryDir dir;
        Running apsim;
        apsim.start(QStringLiteral(CORVANE_BINARY_DIR "/bin/apsim"),
                    {"--count", QString::number(kDevices), "--address", "127.0.3.1", "--port", "0"});
        QStringList devices;
        for (int i = 0; i < kDevices; ++i)
            devices << QString::fromLatin1(lineAfter(apsim, "listening on "));
        QVERIFY2(!devices.contains(QString()), apsim.readAllStandardError());

        Running exporter;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CORVANE_COMMUNITY"), QStringLiteral("kavrel"));
        exporter.setProcessEnvironment(env);
        exporter.start(QStringLiteral(CORVANE_BINARY_DIR "/bin/corvane-exporter"),
                       {"--listen", "127.0.0.1:0", "--allow", "127.0.3.0/24"});
        const quint16 exporterPort =
            quint16(lineAfter(exporter, "corvane-exporter listening on http://127.0.0.1:").split('/')[0].toUInt());
        QVERIFY2(exporterPort != 0, exporter.readAllStandardError());

        QTcpServer probe;  // a free port for Prometheus
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        const quint16 prometheusPort = probe.serverPort();
        probe.close();
        QFile config(dir.filePath(QStringLiteral("prometheus.yml")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("global: {scrape_interval: 500ms, scrape_timeout: 500ms}\n"
                                    "scrape_configs:\n"
                                    "  - job_name: corvane\n"
                                    "    metrics_path: /snmp\n"
                                    "    static_configs: [{targets: ['%1']}]\n"
                                    "    relabel_configs:\n"
                                    "      - {source_labels: [__address__], target_label: __param_target}\n"
                                    "      - {source_labels: [__param_target], target_label: instance}\n"
                                    "      - {target_label: __address__, replacement: '127.0.0.1:%2'}\n")
                         .arg(devices.join(QLatin1String("', '")))
                         .arg(exporterPort)
                         .toUtf8());
        config.close();
        Running server;
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.start(prometheus, {"--config.file=" + config.fileName(),
                                  "--storage.tsdb.path=" + dir.filePath(QStringLiteral("data")),
                                  QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(prometheusPort),
                                  "--log.level=warn"});

        // Every device up, by the exporter and by Prometheus itself (whose
        // own up does not clash with corvane_up).
        const auto one = [](const QString &, double value) { return value == 1; };
        const auto any = [](const QString &, double) { return true; };
        QCOMPARE(waitFor(prometheusPort, QStringLiteral("corvane_up"), one).keys().size(), kDevices);
        QCOMPARE(waitFor(prometheusPort, QStringLiteral("up{job=\"corvane\"}"), one).size(), kDevices);

        // The counters under each device's address, larger at a later scrape.
        const QString counter = QStringLiteral("corvane_wireless_unicast_tx_packets_total");
        const Values before = waitFor(prometheusPort, counter, any);
        QCOMPARE(QSet<QString>(before.keyBegin(), before.keyEnd()), QSet<QString>(devices.begin(), devices.end()));
        const Values after = waitFor(prometheusPort, counter,
                                     [&](const QString &device, double value) { return value > before[device]; });
        for (const QString &device : std::as_const(devices))
            QVERIFY2(after.value(device) > before.value(device), qPrintable(device));
    }
};

QTEST_GUILESS_MAIN(TestPrometheus)
#include "test_prometheus.moc"
