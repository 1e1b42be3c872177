#pragma once
// Datagrams that are not SNMPv1 come from anyone, as many as a sender
// likes: a line for each would flood the log (and the terminal). The first
// few are logged with their sender and reason; after that one line at the
// end of each period says how many more were dropped.

#include <QLoggingCategory>
#include <QObject>
#include <QString>
#include <QTimer>

namespace snmp {

class DropReport : public QObject {
    Q_OBJECT
public:
    static constexpr int kLoggedOneByOne = 5;
    static constexpr int kPeriodMs = 60000;

    explicit DropReport(const QLoggingCategory &category, int periodMs = kPeriodMs, QObject *parent = nullptr);

    void dropped(const QString &sender, const QString &why);

private:
    void reportCount();

    const QLoggingCategory &category_;
    int logged_ = 0;
    int unreported_ = 0;
    QTimer period_;
};

}  // namespace snmp
