#include "time_of_day.h"

namespace traps {

namespace {

const QString kPlainFormat = QStringLiteral("HH:mm:ss");

QString longFormatWithoutZone(const QLocale &locale)
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
    return format.simplified();
}

bool isLatin1(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

// Morning and evening, and every digit, in the locale's own writing.
bool writesLatin1(const QLocale &locale, const QString &format)
{
    for (const QTime &time : {QTime(10, 23, 45), QTime(22, 16, 59), QTime(17, 58, 6)}) {
        if (!isLatin1(locale.toString(time, format)))
            return false;
    }
    return true;
}

}  // namespace

QString timeOfDayFormat(const QLocale &locale)
{
    const QString format = longFormatWithoutZone(locale);
    // A long format without seconds would be no time stamp for a log.
    if (!format.contains(QLatin1Char('s')) || !writesLatin1(locale, format))
        return kPlainFormat;
    return format;
}

TimeOfDayText::TimeOfDayText(const QLocale &locale) : locale_(locale), format_(timeOfDayFormat(locale))
{
    // The plain form with the locale's digits could still be anything.
    if (format_ == kPlainFormat)
        locale_ = QLocale::c();
}

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
