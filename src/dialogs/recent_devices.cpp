#include "recent_devices.h"

#include "settings/app_settings.h"

namespace dialogs {

namespace {
const QString kSection = QStringLiteral("BridgeSettings");
QString keyOf(int index)
{
    return QStringLiteral("RecentIPaddress%1").arg(index + 1);
}
}  // namespace

QStringList recentDevices()
{
    QStringList addresses;
    for (int i = 0; i < kMaxRecentDevices; ++i) {
        const QString address = settings::readSetting(kSection, keyOf(i), QString()).trimmed();
        if (!address.isEmpty() && !addresses.contains(address))
            addresses << address;
    }
    return addresses;
}

void rememberDevice(const QString &address)
{
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return;
    QStringList addresses = recentDevices();
    addresses.removeAll(trimmed);
    addresses.prepend(trimmed);
    for (int i = 0; i < kMaxRecentDevices; ++i)
        settings::writeSetting(kSection, keyOf(i), addresses.value(i));
}

}  // namespace dialogs
