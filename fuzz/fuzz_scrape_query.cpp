// Any bytes as a scrape's query string and time-out header: a verdict with a
// one-line reason, or a device target inside the allowed networks with a
// budget the scrape can keep. Never a crash, never a target outside them.

#include "exporter/scrape_query.h"

#include <QUrlQuery>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fault(const char *what)
{
    std::fprintf(stderr, "scrape query fault: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first line is the header's value, the rest the query string.
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype newline = bytes.indexOf('\n');
    const QByteArray header = newline < 0 ? QByteArray() : bytes.left(newline);
    const QString query = QString::fromUtf8(newline < 0 ? bytes : bytes.mid(newline + 1));

    exporter::ScrapeLimits limits;
    QString error;
    limits.allowed.add(*exporter::AllowList::parseNetwork(QStringLiteral("127.0.0.0/8"), &error));
    for (const bool targetRequired : {false, true}) {
        const exporter::ScrapeQuery checked = exporter::ScrapeQuery::check(
            targetRequired, QUrlQuery(query).queryItems(QUrl::FullyDecoded), header, limits);
        using V = exporter::ScrapeQuery::Verdict;
        if ((checked.verdict == V::BadRequest || checked.verdict == V::Forbidden)
            && (checked.reason.isEmpty() || checked.reason.contains(QLatin1Char('\n'))))
            fault("refused without a one-line reason");
        if (checked.verdict == V::Device) {
            if (!limits.allowed.allows(checked.target.host))
                fault("a target outside the allowed networks");
            if (checked.budgetMs <= 0)
                fault("no time left to answer");
        }
    }
    return 0;
}
