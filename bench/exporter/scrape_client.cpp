#include "scrape_client.h"

#include <QHostAddress>

ScrapeClient::ScrapeClient(quint16 exporterPort, const QByteArray &target, double timeoutSeconds, QObject *parent)
    : QObject(parent), port_(exporterPort)
{
    request_ = "GET /snmp?target=" + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n"
               "X-Prometheus-Scrape-Timeout-Seconds: " + QByteArray::number(timeoutSeconds) + "\r\n\r\n";
    connect(&socket_, &QTcpSocket::readyRead, this, &ScrapeClient::take);
    connect(&socket_, &QTcpSocket::connected, this, [this] { socket_.write(request_); });
    connect(&socket_, &QTcpSocket::errorOccurred, this, [this] {
        // A kept-alive connection the server closed: once more on a new one.
        if (done_ && !resent_ && buffer_.isEmpty()) {
            resent_ = true;
            socket_.abort();
            send();
        } else if (done_) {
            fail();
        }
    });
}

void ScrapeClient::scrape(std::function<void(const Scrape &)> done)
{
    done_ = std::move(done);
    resent_ = false;
    buffer_.clear();
    clock_.start();
    send();
}

void ScrapeClient::send()
{
    if (socket_.state() == QAbstractSocket::ConnectedState)
        socket_.write(request_);
    else if (socket_.state() == QAbstractSocket::UnconnectedState)
        socket_.connectToHost(QHostAddress::LocalHost, port_);
}

void ScrapeClient::take()
{
    buffer_ += socket_.readAll();
    const qsizetype headEnd = buffer_.indexOf("\r\n\r\n");
    if (headEnd < 0 || !done_)
        return;
    const QList<QByteArray> head = buffer_.left(headEnd).split('\n');
    qsizetype length = -1;
    for (const QByteArray &line : head) {
        if (line.toLower().startsWith("content-length:"))
            length = line.mid(15).trimmed().toLongLong();
    }
    if (length < 0 || buffer_.size() < headEnd + 4 + length)
        return;
    Scrape scrape;
    scrape.ms = clock_.nsecsElapsed() / 1e6;
    const QByteArray body = buffer_.mid(headEnd + 4, length);
    scrape.up = head.value(0).contains(" 200 ") && body.contains("\ncorvane_up 1\n");
    buffer_.remove(0, headEnd + 4 + length);
    auto done = std::exchange(done_, nullptr);
    done(scrape);
}

void ScrapeClient::fail()
{
    Scrape scrape;
    scrape.ms = clock_.nsecsElapsed() / 1e6;
    auto done = std::exchange(done_, nullptr);
    done(scrape);
}
