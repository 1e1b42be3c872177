#include "app_test_support.h"

#include "settings/app_settings.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTest>
#include <QUdpSocket>

namespace testing {

ScratchSettings::ScratchSettings() { settings::useSettingsFile(path()); }

ScratchSettings::~ScratchSettings() { settings::useSettingsFile(QString()); }

QString ScratchSettings::path() const { return dir_.filePath(QStringLiteral("settings.ini")); }

QString ScratchSettings::value(const QString &section, const QString &key) const
{
    return QSettings(path(), QSettings::IniFormat).value(section + QLatin1Char('/') + key).toString();
}

void ScratchSettings::setValue(const QString &section, const QString &key, const QString &value)
{
    QSettings(path(), QSettings::IniFormat).setValue(section + QLatin1Char('/') + key, value);
}

quint16 freeUdpPort()
{
    QUdpSocket probe;
    return probe.bind(QHostAddress::AnyIPv4, 0) ? probe.localPort() : 0;
}

agent::SessionOptions loopbackOptions(quint16 agentPort, double timeScale)
{
    agent::SessionOptions options;
    options.agentPort = agentPort;
    options.trapPort = freeUdpPort();
    options.scanAddress = QStringLiteral("127.0.0.1");
    // Beside the test programs, wherever the build folder is.
    options.mibPath = QCoreApplication::applicationDirPath() + QStringLiteral("/CorvaneMIB.mib");
    options.timeScale = timeScale;
    return options;
}

WindowFixture::WindowFixture(double timeScale)
{
    if (!device.start(QHostAddress::LocalHost, 0))
        qFatal("simulated access point did not start");
    window = std::make_unique<frmMain>(loopbackOptions(device.port(), timeScale));
    MainForm = window.get();
    window->setQuestioner(&questioner);
    window->MDIForm_Load();
    window->show();
}

WindowFixture::~WindowFixture()
{
    window.reset();
    MainForm = nullptr;
}

bool WindowFixture::connectDevice()
{
    window->session().confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
    return testing::waitFor([this] { return window->Connected(); }, 10000);
}

}  // namespace testing
