#pragma once
// A small HTTP GET for the exporter's tests, asking as Prometheus asks (its
// Accept and User-Agent; gzip allowed; connections kept open when the
// caller shares a manager): the status, the body and how long the answer
// took, on loopback only.

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
    request.setRawHeader("Accept", "application/openmetrics-text;version=1.0.0,application/openmetrics-text;"
                                   "version=0.0.1;q=0.75,text/plain;version=0.0.4;q=0.5,*/*;q=0.1");
    request.setRawHeader("User-Agent", "Prometheus/2.42.0");
    if (!scrapeTimeout.isEmpty())
        request.setRawHeader("X-Prometheus-Scrape-Timeout-Seconds", scrapeTimeout);
    return request;
}

// Several GETs at once; the answers in the order asked.
inline QVector<HttpAnswer> httpGetAll(quint16 port, const QStringList &paths, const QByteArray &scrapeTimeout = {},
                                      QNetworkAccessManager *shared = nullptr)
{
    QNetworkAccessManager own;
    QNetworkAccessManager &network = shared ? *shared : own;
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
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    loop.exec();
    return answers;
}

inline HttpAnswer httpGet(quint16 port, const QString &path, const QByteArray &scrapeTimeout = {},
                          QNetworkAccessManager *shared = nullptr)
{
    return httpGetAll(port, {path}, scrapeTimeout, shared).constFirst();
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
