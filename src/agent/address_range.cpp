#include "address_range.h"

#include <QRegularExpression>

namespace agent {

namespace {

// A dotted IPv4 address of four numbers 0..255 and nothing else: not
// "10.1" or hexadecimal, which QHostAddress would also take.
std::optional<quint32> parseQuad(const QString &text)
{
    static const QRegularExpression quad(QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const QRegularExpressionMatch match = quad.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    quint32 value = 0;
    for (int i = 1; i <= 4; ++i) {
        const uint part = match.captured(i).toUInt();
        if (part > 255)
            return std::nullopt;
        value = (value << 8) | part;
    }
    return value;
}

const QString kForms = QStringLiteral("give an address (192.168.1.20), a network (192.168.1.0/24) or a span "
                                      "(10.0.0.5-10.0.0.80)");

}  // namespace

std::optional<AddressSpan> parseAddressSpan(const QString &input, QString &error, bool withPort)
{
    const QString text = input.trimmed();
    AddressSpan span;
    if (text.contains(QLatin1Char('/'))) {
        bool numberOk = false;
        const int bits = text.section(QLatin1Char('/'), 1).trimmed().toInt(&numberOk);
        const auto base = parseQuad(text.section(QLatin1Char('/'), 0, 0));
        if (!base || !numberOk || bits < 0 || bits > 32 || text.count(QLatin1Char('/')) != 1) {
            error = QStringLiteral("\"%1\" is no network: %2").arg(text, kForms);
            return std::nullopt;
        }
        const quint32 mask = bits == 0 ? 0 : ~quint32(0) << (32 - bits);
        span.first = *base & mask;
        span.last = span.first | ~mask;
        // The network's own address and its broadcast address are no
        // device's; a datagram to the broadcast address would reach them all.
        if (bits <= 30) {
            ++span.first;
            --span.last;
        }
        return span;
    }
    if (text.contains(QLatin1Char('-'))) {
        const auto first = parseQuad(text.section(QLatin1Char('-'), 0, 0));
        const auto last = parseQuad(text.section(QLatin1Char('-'), 1));
        if (text.count(QLatin1Char('-')) != 1 || !first || !last) {
            error = QStringLiteral("\"%1\" is no span of addresses: %2").arg(text, kForms);
            return std::nullopt;
        }
        if (*last < *first) {
            error = QStringLiteral("\"%1\": the span ends before it starts").arg(text);
            return std::nullopt;
        }
        span.first = *first;
        span.last = *last;
        return span;
    }
    QString address = text;
    if (withPort) {
        const qsizetype colon = address.indexOf(QLatin1Char(':'));
        if (colon >= 0) {
            bool ok = false;
            const uint port = address.mid(colon + 1).toUInt(&ok);
            if (!ok || port == 0 || port > 65535) {
                error = QStringLiteral("\"%1\": the port is not a number from 1 to 65535").arg(text);
                return std::nullopt;
            }
            span.port = quint16(port);
            address = address.left(colon);
        }
        if (address.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
            address = QStringLiteral("127.0.0.1");
    }
    const auto single = parseQuad(address);
    if (!single) {
        error = QStringLiteral("\"%1\" is no address (names are not looked up): %2").arg(text, kForms);
        return std::nullopt;
    }
    span.first = span.last = *single;
    return span;
}

AddressRange parseAddressRange(const QString &text)
{
    AddressRange range;
    const std::optional<AddressSpan> span = parseAddressSpan(text, range.error);
    if (!span)
        return range;
    if (span->size() > quint64(kMaxRangeAddresses)) {
        range.error = QStringLiteral("%1 addresses: more than %2 at once; give a smaller range")
                          .arg(span->size())
                          .arg(kMaxRangeAddresses);
        return range;
    }
    for (quint64 a = span->first; a <= span->last; ++a)
        range.addresses.append(QHostAddress(quint32(a)));
    return range;
}

}  // namespace agent
