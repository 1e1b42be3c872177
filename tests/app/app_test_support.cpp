#include "app_test_support.h"

#include "app/app_settings.h"

#include <QSettings>
#include <QUdpSocket>

namespace testing {

ScratchSettings::ScratchSettings()
{
    app::useSettingsFile(path());
}

ScratchSettings::~ScratchSettings()
{
    app::useSettingsFile(QString());
}

QString ScratchSettings::path() const
{
    return dir_.filePath(QStringLiteral("settings.ini"));
}

QString ScratchSettings::value(const QString &section, const QString &key) const
{
    QSettings settings(path(), QSettings::IniFormat);
    return settings.value(section + QLatin1Char('/') + key).toString();
}

void ScratchSettings::setValue(const QString &section, const QString &key, const QString &value)
{
    QSettings settings(path(), QSettings::IniFormat);
    settings.setValue(section + QLatin1Char('/') + key, value);
}

quint16 freeUdpPort()
{
    QUdpSocket probe;
    return probe.bind(QHostAddress::AnyIPv4, 0) ? probe.localPort() : 0;
}

agent::SessionOptions loopbackOptions(quint16 agentPort)
{
    agent::SessionOptions options;
    options.agentPort = agentPort;
    options.trapPort = freeUdpPort();
    options.scanAddress = QStringLiteral("127.0.0.1");
    options.mibPath = QStringLiteral(CORVANE_BINARY_DIR "/bin/CorvaneMIB.mib");
    options.timeScale = 0.2;  // every watchdog and time-out at a fifth of its pace
    options.directWaitMs = 0;  // the device answers from this process's event loop
    return options;
}

}  // namespace testing
