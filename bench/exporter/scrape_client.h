#pragma once
// One scraper as Prometheus is one: a kept-alive HTTP connection to the
// exporter that asks for one device's metrics, waits for the whole answer
// and asks again. Each scrape's time and whether the device was up.

#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>
#include <functional>

class ScrapeClient : public QObject {
    Q_OBJECT
public:
    struct Scrape {
        double ms = 0;
        bool up = false;  // 200 and corvane_up 1
    };

    ScrapeClient(quint16 exporterPort, const QByteArray &target, double timeoutSeconds, QObject *parent = nullptr);

    // Scrapes once; `done` follows when the answer is complete (or the
    // connection failed).
    void scrape(std::function<void(const Scrape &)> done);

private:
    void send();
    void take();
    void fail();

    quint16 port_;
    QByteArray request_;
    QTcpSocket socket_;
    QByteArray buffer_;
    QElapsedTimer clock_;
    std::function<void(const Scrape &)> done_;
    bool resent_ = false;
};
