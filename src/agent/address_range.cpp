#include "address_range.h"

#include <QRegularExpression>

namespace agent {

namespace {

// A dotted IPv4 address of four numbers 0..255 and nothing else.
bool parseQuad(const QString &text, quint32 &value)
{
    static const QRegularExpression quad(QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const QRegularExpressionMatch match = quad.match(text.trimmed());
    if (!match.hasMatch())
        return false;
    value = 0;
    for (int i = 1; i <= 4; ++i) {
        const uint part = match.captured(i).toUInt();
        if (part > 255)
            return false;
        value = (value << 8) | part;
    }
    return true;
}

AddressRange refused(const QString &why)
{
    AddressRange range;
    range.error = why;
    return range;
}

AddressRange span(quint32 first, quint32 last)
{
    if (quint64(last) - first + 1 > quint64(kMaxRangeAddresses))
        return refused(QStringLiteral("%1 addresses: more than %2 at once; give a smaller range")
                           .arg(quint64(last) - first + 1)
                           .arg(kMaxRangeAddresses));
    AddressRange range;
    for (quint64 a = first; a <= last; ++a)
        range.addresses.append(QHostAddress(quint32(a)));
    return range;
}

}  // namespace

AddressRange parseAddressRange(const QString &input)
{
    const QString text = input.trimmed();
    const QString forms = QStringLiteral("give an address (192.168.1.20), a network (192.168.1.0/24) or a span "
                                         "(10.0.0.5-10.0.0.80)");
    quint32 first = 0, last = 0;
    if (text.contains(QLatin1Char('/'))) {
        bool numberOk = false;
        const int bits = text.section(QLatin1Char('/'), 1).trimmed().toInt(&numberOk);
        if (!parseQuad(text.section(QLatin1Char('/'), 0, 0), first) || !numberOk || bits < 0 || bits > 32
            || text.count(QLatin1Char('/')) != 1)
            return refused(QStringLiteral("\"%1\" is no network: %2").arg(text, forms));
        const quint32 mask = bits == 0 ? 0 : ~quint32(0) << (32 - bits);
        first = first & mask;
        last = first | ~mask;
        // The network's own address and its broadcast address are no device's.
        if (bits <= 30) {
            ++first;
            --last;
        }
        return span(first, last);
    }
    if (text.contains(QLatin1Char('-'))) {
        if (text.count(QLatin1Char('-')) != 1 || !parseQuad(text.section(QLatin1Char('-'), 0, 0), first)
            || !parseQuad(text.section(QLatin1Char('-'), 1), last))
            return refused(QStringLiteral("\"%1\" is no span of addresses: %2").arg(text, forms));
        if (last < first)
            return refused(QStringLiteral("\"%1\": the span ends before it starts").arg(text));
        return span(first, last);
    }
    if (!parseQuad(text, first))
        return refused(QStringLiteral("\"%1\" is no address: %2").arg(text, forms));
    return span(first, first);
}

}  // namespace agent
