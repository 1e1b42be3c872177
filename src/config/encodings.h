#pragma once
// How device values travel between the wire, the store and the windows:
// hexadecimal text of byte strings, the ESSID length rule, the basic-rate
// sets, regulation-domain names and the channel table.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace config {

// The first n bytes of `data` as 2n upper-case hex digits. std::nullopt when
// `data` holds fewer than n bytes: the readers fail a short value on that.
std::optional<QString> BytesToHex(const QByteArray &data, int n);

// n bytes from the pairs of `text`: each pair is read for its leading hex
// digits ("8" of "8_" is 8, "G0" is 0); a pair with no hex digit, or missing
// because `text` is short, gives the byte 0. Never fails.
QByteArray HexToBytes(const QString &text, int n);

// Leading characters of `essid` with codes 33 to 126: what the device is
// told in operESSIDLength. Counting stops at the first other character.
int EssidLength(const QString &essid);

// Octet strings travel as single-byte text.
inline QString textFromOctets(const QByteArray &octets) { return QString::fromLatin1(octets); }
inline QByteArray octetsFromText(const QString &text) { return text.toLatin1(); }

// What a device has when it leaves the factory: the connect dialog's first
// suggestion and what Restore Defaults sends.
inline const QString kFactoryCommunity = QStringLiteral("kavrel");  // read/write community
inline const QString kFactoryIPAddress = QStringLiteral("192.168.1.250");
inline const QString kFactoryIPMask = QStringLiteral("255.255.255.0");
inline const QString kFactoryESSID = QStringLiteral("corvane");

// RTS and fragmentation thresholds the device accepts; the full read
// refuses anything else, so nothing outside may be sent.
constexpr int kThresholdMinimum = 0;
constexpr int kThresholdMaximum = 2346;

inline const QString kBasicRatesAll = QStringLiteral("82848B96");      // 1, 2, 5.5, 11 basic
inline const QString kBasicRatesLow = QStringLiteral("82840B16");      // 1, 2 basic
bool isAcceptedBasicRates(const QString &text);                        // exact, case-sensitive

// "FCC", "DOC", "ETSI", "SPAIN", "FRANCE", "MKK"; empty for other codes.
QString regulationDomainName(int code);

// The channels a regulation domain allows, and how a channel list's
// 0-based positions map to channel numbers.
struct ChannelRange {
    int first = 0;
    int last = 0;
};
std::optional<ChannelRange> channelRangeFor(int regulationDomain);
QStringList channelItems(int regulationDomain);  // "Channel 1", ...; empty for unknown codes
int positionOfChannel(int regulationDomain, int channel);  // -1 when not in the list
std::optional<int> channelAtPosition(int regulationDomain, int position);

}  // namespace config
