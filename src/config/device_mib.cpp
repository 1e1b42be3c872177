#include "config/device_mib.h"

#include <QFileInfo>
#include <mutex>

// Resources of a static library have to be registered by hand, from the
// global namespace.
static void registerDeviceMib()
{
    Q_INIT_RESOURCE(device_mib);
}

namespace config {

QString builtInMibPath()
{
    static std::once_flag registered;
    std::call_once(registered, registerDeviceMib);
    return QStringLiteral(":/CorvaneMIB.mib");
}

QString mibToLoad(const QString &filePath)
{
    if (!filePath.isEmpty() && QFileInfo::exists(filePath))
        return filePath;
    return builtInMibPath();
}

}  // namespace config
