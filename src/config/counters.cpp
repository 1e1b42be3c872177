#include "counters.h"

namespace config {

std::optional<quint32> CounterFromBytes(const QByteArray &data, int k)
{
    if (k < 1 || qsizetype(4) * k > data.size())
        return std::nullopt;
    const int first = 4 * (k - 1);
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(data[first + i]);
    return value;
}

}  // namespace config
