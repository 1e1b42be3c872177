#pragma once
// The time of day as the user's regional settings write a time, with
// seconds and without date or time zone ("10:15:32", "10:15:32 AM").
// The log is single-byte (Latin-1) text: where the locale writes a time with
// anything else (Greek or Korean day halves, Arabic digits) the time is
// written "HH:mm:ss" instead of losing characters to question marks.

#include <QLocale>
#include <QString>
#include <QTime>

namespace traps {

// The locale's long time format without its time-zone part, or "HH:mm:ss"
// when that format has no seconds or its text is not Latin-1.
QString timeOfDayFormat(const QLocale &locale);

// The current local time in that form. The text is made once per second:
// a burst of traps asks for it thousands of times.
class TimeOfDayText {
public:
    explicit TimeOfDayText(const QLocale &locale = QLocale::system());
    QString operator()();
    QString textFor(const QTime &time);

private:
    QLocale locale_;
    QString format_;
    int second_ = -1;  // seconds since midnight of the cached text
    QString text_;
};

}  // namespace traps
