#include "group_writers.h"

#include "config/encodings.h"
#include "config/group_readers.h"
#include "config/value_rules.h"

namespace config {

QString addressToSend(const ConfigurationStore &s)
{
    // The quick-setup window enters a new address in pendingIPAddress; the
    // main window's own dialog edits operIPAddress directly and leaves it
    // empty, in which case the address in the store is what goes out.
    const QString current = s.operIPAddress.trimmed();
    const QString pending = s.pendingIPAddress.trimmed();
    return !pending.isEmpty() && pending != current ? pending : current;
}

namespace {

// Collects the echo checks of one answer; every check runs, and any
// difference (or a missing answer variable) fails the group.
class EchoCheck {
public:
    explicit EchoCheck(const snmp::SnmpVariables &answer) : answer_(answer) {}

    void numeric(int position, qint64 expected)
    {
        const snmp::SnmpVariable *variable = answer_.Item(position);
        const auto value = variable ? integerFromText(variable->Value) : std::nullopt;
        if (!value || *value != expected)
            ok_ = false;
    }
    void exact(int position, const QByteArray &expected)
    {
        const snmp::SnmpVariable *variable = answer_.Item(position);
        if (!variable || variable->Value != expected)
            ok_ = false;
    }
    // The first `count` characters of the echo must equal those sent.
    void prefix(int position, const QByteArray &sent, int count)
    {
        const snmp::SnmpVariable *variable = answer_.Item(position);
        if (!variable || variable->Value.left(count) != sent.left(count))
            ok_ = false;
    }
    bool ok() const { return ok_; }

private:
    const snmp::SnmpVariables &answer_;
    bool ok_ = true;
};

void beginSet(DeviceLink &link, const QString &host)
{
    link.prepare(host, 1000);
    link.setRequestType(snmp::request_type::Set);
    link.takeRequestId();
}

}  // namespace

bool SetWirelessOperationalConf(DeviceLink &link, const QString &host, ConfigurationStore &s)
{
    beginSet(link, host);
    const QByteArray essid = octetsFromText(s.operESSID);
    const int essidLength = EssidLength(s.operESSID);
    const QByteArray rates = HexToBytes(s.operBasicRates, 4);
    const bool built = link.AddIntegerVariable(QStringLiteral("operChannelID"), s.operChannelID)
                       && link.AddIntegerVariable(QStringLiteral("operESSIDLength"), essidLength)
                       && link.AddOctetStringVariable(QStringLiteral("operESSID"), essid)
                       && link.AddIntegerVariable(QStringLiteral("operRTSThreshold"), s.operRTSThreshold)
                       && link.AddIntegerVariable(QStringLiteral("operFragmentationThreshold"),
                                                  s.operFragmentationThreshold)
                       && link.AddIntegerVariable(QStringLiteral("operPreambleType"), s.operPreambleType)
                       && link.AddIntegerVariable(QStringLiteral("operAuthenticationType"),
                                                  s.operAuthenticationType)
                       && link.AddOctetStringVariable(QStringLiteral("operBasicRates"), rates)
                       && link.AddIntegerVariable(QStringLiteral("operAutoRateFallBack"), s.operAutoRateFallBack);
    if (!built || !link.send().answered())
        return false;

    EchoCheck echo(link.answer());
    echo.numeric(1, s.operChannelID);
    echo.numeric(2, essidLength);
    // The device may end the name differently, so its last character is
    // not compared. An empty name cannot be checked and fails the group.
    if (essid.isEmpty())
        return false;
    echo.prefix(3, essid, int(essid.size()) - 1);
    echo.numeric(4, s.operRTSThreshold);
    echo.numeric(5, s.operFragmentationThreshold);
    echo.numeric(6, s.operPreambleType);
    echo.numeric(7, s.operAuthenticationType);
    echo.exact(8, rates);
    echo.numeric(9, s.operAutoRateFallBack);
    return echo.ok();
}

bool SetIPSettingsConf(DeviceLink &link, const QString &host, ConfigurationStore &s)
{
    beginSet(link, host);
    const QByteArray ethernet = HexToBytes(s.operEthernetAddress, 6);
    const QString address = addressToSend(s);
    if (address != s.operIPAddress.trimmed())
        s.operIPAddress = s.pendingIPAddress;
    const auto addressOnWire = dottedQuadFromText(address);
    const auto maskOnWire = dottedQuadFromText(s.operIPMask);
    if (!addressOnWire || !maskOnWire)
        return false;
    const bool built = link.AddOctetStringVariable(QStringLiteral("operEthernetAddress"), ethernet)
                       && link.AddIPAddressVariable(QStringLiteral("operIPAddress"), *addressOnWire)
                       && link.AddIPAddressVariable(QStringLiteral("operIPMask"), *maskOnWire);
    if (!built || !link.send().answered())
        return false;

    EchoCheck echo(link.answer());
    echo.exact(1, ethernet);
    echo.exact(2, s.operIPAddress.trimmed().toLatin1());
    echo.exact(3, maskOnWire->toLatin1());
    return echo.ok();
}

bool SetPrivacySettingsConf(DeviceLink &link, const QString &host, ConfigurationStore &s)
{
    beginSet(link, host);
    QByteArray keys[4];
    bool built = link.AddIntegerVariable(QStringLiteral("privacyDefaultWEPKeyID"), s.privacyDefaultWEPKeyID)
                 && link.AddIntegerVariable(QStringLiteral("privacyWEPEnable"), s.privacyWEPEnable);
    for (int i = 0; i < 4 && built; ++i) {
        keys[i] = HexToBytes(s.defaultWEPKey(i + 1), 5);
        built = link.AddOctetStringVariable(QStringLiteral("defaultWEPKey%1").arg(i + 1), keys[i]);
    }
    if (!built || !link.send().answered())
        return false;

    EchoCheck echo(link.answer());
    echo.numeric(1, s.privacyDefaultWEPKeyID);
    echo.numeric(2, s.privacyWEPEnable);
    for (int i = 0; i < 4; ++i)
        echo.exact(3 + i, keys[i]);
    return echo.ok();
}

bool SetBridgeOperationalModeConf(DeviceLink &link, const QString &host, ConfigurationStore &s)
{
    beginSet(link, host);
    const bool withPartner = s.bridgeOperationalMode == 1 || s.bridgeOperationalMode == 3;
    const QByteArray bssid = HexToBytes(s.bridgeRemoteBridgeBSSID, 6);
    bool built = link.AddIntegerVariable(QStringLiteral("bridgeOperationalMode"), s.bridgeOperationalMode);
    if (built && withPartner)
        built = link.AddOctetStringVariable(QStringLiteral("bridgeRemoteBridgeBSSID"), bssid);
    if (!built || !link.send().answered())
        return false;

    EchoCheck echo(link.answer());
    echo.numeric(1, s.bridgeOperationalMode);
    if (withPartner)
        echo.exact(2, bssid);
    return echo.ok();
}

}  // namespace config
