#pragma once
// A small HTTP GET for the exporter's tests: the status, the body and how
// long the answer took, on loopback only.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <optional>

struct HttpAnswer {
    int status = 0;  // 0: no answer
    QByteArray body;
    QByteArray contentType;
    qint64 ms = 0;
};

inline QNetworkRequest loopbackRequest(quint16 port, const QString &pathAndQuery, const QByteArray &scrapeTimeout)
{
    QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(pathAndQuery)));
    if (!scrapeTimeout.isEmpty())
        request.setRawHeader("X-Prometheus-Scrape-Timeout-Seconds", scrapeTimeout);
    return request;
}

// Several GETs at once; the answers in the order asked.
inline QVector<HttpAnswer> httpGetAll(quint16 port, const QStringList &paths, const QByteArray &scrapeTimeout = {},
                                      int waitMs = 15000)
{
    QNetworkAccessManager network;
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    QVector<HttpAnswer> answers(paths.size());
    int open = int(paths.size());
    for (int i = 0; i < paths.size(); ++i) {
        QNetworkReply *reply = network.get(loopbackRequest(port, paths[i], scrapeTimeout));
        QObject::connect(reply, &QNetworkReply::finished, &loop, [&, reply, i] {
            answers[i] = {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
                          reply->header(QNetworkRequest::ContentTypeHeader).toByteArray(), clock.elapsed()};
            reply->deleteLater();
            if (--open == 0)
                loop.quit();
        });
    }
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    loop.exec();
    return answers;
}

inline HttpAnswer httpGet(quint16 port, const QString &path, const QByteArray &scrapeTimeout = {})
{
    return httpGetAll(port, {path}, scrapeTimeout).constFirst();
}

// The value of the sample `series` (a name, with its labels as written)
// in a text exposition.
inline std::optional<double> sampleOf(const QByteArray &text, const QByteArray &series)
{
    for (const QByteArray &line : text.split('\n')) {
        if (line.startsWith(series + ' ')) {
            bool ok = false;
            const double value = line.mid(series.size() + 1).toDouble(&ok);
            if (ok)
                return value;
        }
    }
    return std::nullopt;
}
