#include "metrics_text.h"

#include <QLocale>
#include <cmath>

namespace exporter {

namespace {

QByteArray escaped(const QString &text, bool quotes)
{
    QByteArray out;
    const QByteArray utf8 = text.toUtf8();
    out.reserve(utf8.size());
    for (const char c : utf8) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '"' && quotes)
            out += "\\\"";
        else
            out += c;
    }
    return out;
}

QByteArray number(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "+Inf" : "-Inf";
    return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

}  // namespace

QByteArray MetricsText::escapeLabelValue(const QString &value) { return escaped(value, true); }

QByteArray MetricsText::escapeHelp(const QString &help) { return escaped(help, false); }

void MetricsText::family(const QString &name, Type type, const QString &help)
{
    const QByteArray n = name.toLatin1();
    text_ += "# HELP " + n + ' ' + escapeHelp(help) + '\n';
    text_ += "# TYPE " + n + (type == Type::Counter ? " counter\n" : " gauge\n");
}

void MetricsText::sample(const QString &name, double value, const Labels &labels)
{
    sampleLine(name, number(value), labels);
}

void MetricsText::sample(const QString &name, quint64 value, const Labels &labels)
{
    sampleLine(name, QByteArray::number(value), labels);
}

void MetricsText::single(const QString &name, Type type, const QString &help, double value, const Labels &labels)
{
    family(name, type, help);
    sample(name, value, labels);
}

void MetricsText::sampleLine(const QString &name, const QByteArray &value, const Labels &labels)
{
    text_ += name.toLatin1();
    if (!labels.isEmpty()) {
        text_ += '{';
        for (qsizetype i = 0; i < labels.size(); ++i) {
            if (i > 0)
                text_ += ',';
            text_ += labels[i].first.toLatin1() + "=\"" + escapeLabelValue(labels[i].second) + '"';
        }
        text_ += '}';
    }
    text_ += ' ' + value + '\n';
}

}  // namespace exporter
