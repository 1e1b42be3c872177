#pragma once
// The Prometheus text exposition format (version 0.0.4): metric families
// with their help text and type, then their samples. Label values and
// help texts are escaped as the format asks, so a device's own text (an
// ESSID with a quote or a line break) cannot break a line.

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

namespace exporter {

inline constexpr const char kMetricsContentType[] = "text/plain; version=0.0.4; charset=utf-8";

using Labels = QVector<QPair<QString, QString>>;

class MetricsText {
public:
    enum class Type { Counter, Gauge };

    // Starts a family: its # HELP and # TYPE lines. Each family once.
    void family(const QString &name, Type type, const QString &help);
    // One sample of the family begun last.
    void sample(const QString &name, double value, const Labels &labels = {});
    void sample(const QString &name, quint64 value, const Labels &labels = {});
    // A family of one sample.
    void single(const QString &name, Type type, const QString &help, double value, const Labels &labels = {});

    const QByteArray &text() const { return text_; }

    // A label value inside its double quotes: backslash, double quote and
    // line feed escaped.
    static QByteArray escapeLabelValue(const QString &value);
    // A help text: backslash and line feed escaped.
    static QByteArray escapeHelp(const QString &help);

private:
    void sampleLine(const QString &name, const QByteArray &value, const Labels &labels);

    QByteArray text_;
};

}  // namespace exporter
