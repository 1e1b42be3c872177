#include "drop_report.h"

namespace snmp {

DropReport::DropReport(const QLoggingCategory &category, int periodMs, QObject *parent)
    : QObject(parent), category_(category)
{
    period_.setSingleShot(true);
    period_.setInterval(periodMs);
    connect(&period_, &QTimer::timeout, this, &DropReport::reportCount);
}

void DropReport::dropped(const QString &sender, const QString &why)
{
    if (logged_ < kLoggedOneByOne) {
        ++logged_;
        qCInfo(category_).noquote() << "dropped a datagram from" << sender << "that is not SNMPv1:" << why
                                    << (logged_ == kLoggedOneByOne ? "(further ones are counted)" : "");
        return;
    }
    ++unreported_;
    if (!period_.isActive())
        period_.start();
}

void DropReport::reportCount()
{
    if (unreported_ == 0)
        return;
    qCInfo(category_).noquote() << unreported_ << "more datagrams that are not SNMPv1 dropped in"
                                << period_.interval() / 1000.0 << "s";
    unreported_ = 0;
}

}  // namespace snmp
