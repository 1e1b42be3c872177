#include "time_of_day.h"

namespace traps {

QString timeOfDayFormat(const QLocale &locale)
{
    // Drop the time-zone letters ('t', outside quoted literals) and the
    // blanks they leave; keep everything else as the locale has it.
    const QString longFormat = locale.timeFormat(QLocale::LongFormat);
    QString format;
    bool quoted = false;
    for (const QChar c : longFormat) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        format += c;
    }
    format = format.simplified();
    // A long format without seconds would be no time stamp for a log.
    if (!format.contains(QLatin1Char('s')))
        format = QStringLiteral("HH:mm:ss");
    return format;
}

TimeOfDayText::TimeOfDayText(const QLocale &locale) : locale_(locale), format_(timeOfDayFormat(locale)) {}

QString TimeOfDayText::operator()()
{
    return textFor(QTime::currentTime());
}

QString TimeOfDayText::textFor(const QTime &time)
{
    const int second = time.msecsSinceStartOfDay() / 1000;
    if (second != second_) {
        second_ = second;
        text_ = locale_.toString(time, format_);
    }
    return text_;
}

}  // namespace traps
