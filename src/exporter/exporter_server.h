#pragma once
// The exporter's HTTP side:
//   GET /metrics?target=HOST[:PORT]  the device's figures (also /snmp?target=...)
//   GET /metrics                     the exporter's own figures
//   GET /                            a short page naming these
// Every device scrape is answered within its time-out; requests are
// checked whole before anything is sent (400, 403).

#include "exporter_metrics.h"
#include "target_pool.h"

#include "snmp/mib.h"
#include "snmp/request_engine.h"

#include <QHttpServer>
#include <QObject>
#include <memory>

class QHttpServerRequest;
class QHttpServerResponder;

namespace exporter {

class ExporterServer : public QObject {
    Q_OBJECT
public:
    struct Settings {
        ScrapeLimits limits;
        TargetPool::Settings pool;
        QString mibPath;  // empty: the MIB compiled in
    };

    explicit ExporterServer(const Settings &settings, QObject *parent = nullptr);
    ~ExporterServer() override;

    // Loads the MIB, opens the SNMP socket and listens for HTTP on
    // `address`:`port` (0: a free port). The port listened on; 0, with
    // `error`, when any of it failed.
    quint16 start(const QHostAddress &address, quint16 port, QString *error);

    ExporterFigures figures() const;

private:
    void route();
    void handle(bool targetRequired, const QHttpServerRequest &request, QHttpServerResponder &&responder);

    Settings settings_;
    snmp::Mib mib_;
    snmp::RequestEngine engine_;
    std::unique_ptr<TargetPool> pool_;
    QHttpServer http_;
    ExporterFigures figures_;
};

}  // namespace exporter
