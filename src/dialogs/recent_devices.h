#pragma once
// The addresses of the last devices the user connected to, newest first,
// kept per user (section "BridgeSettings", keys "RecentIPaddress1" to
// "RecentIPaddress5") for the connect dialog to offer.

#include <QString>
#include <QStringList>

namespace dialogs {

constexpr int kMaxRecentDevices = 5;

QStringList recentDevices();
// `address` (trimmed) to the front, once; an empty text is not kept.
void rememberDevice(const QString &address);

}  // namespace dialogs
