#pragma once
// Waiting for work that goes on in the event loop. QTest's waits sleep ten
// milliseconds between rounds of events, so a chain of exchanges with a
// device in this very process takes ten times as long as it would in the
// program; these wait for the next event instead, and handle each answer
// the moment it arrives.

#include <QDeadlineTimer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QtTest>

namespace testing {

// Until `done()` holds or `timeoutMs` has passed; whether it holds.
template <typename Done>
bool waitFor(Done done, int timeoutMs = 10000)
{
    const QDeadlineTimer deadline(timeoutMs);
    QTimer wake;  // an event now and then, so that the deadline is seen
    wake.start(5);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
}

}  // namespace testing

// As QTRY_VERIFY and QTRY_COMPARE, without the sleeps.
#define WAIT_VERIFY_WITH_TIMEOUT(expr, timeout) \
    QVERIFY2(testing::waitFor([&] { return bool(expr); }, timeout), #expr)
#define WAIT_VERIFY(expr) WAIT_VERIFY_WITH_TIMEOUT(expr, 10000)
#define WAIT_COMPARE_WITH_TIMEOUT(actual, expected, timeout)                     \
    do {                                                                         \
        testing::waitFor([&] { return (actual) == (expected); }, timeout);       \
        QCOMPARE(actual, expected);                                              \
    } while (false)
#define WAIT_COMPARE(actual, expected) WAIT_COMPARE_WITH_TIMEOUT(actual, expected, 10000)
