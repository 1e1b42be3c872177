#include "trap_entry.h"

#include <iterator>

namespace traps {

namespace {

const QByteArray kSeparator(34, '=');

void addLine(QByteArray &entry, const QByteArray &text)
{
    entry += text;
    entry += "\r\n";
}

// The separator with an empty line on each side.
void addSeparatorBlock(QByteArray &entry)
{
    entry += "\r\n";
    addLine(entry, kSeparator);
    entry += "\r\n";
}

bool isControl(uchar c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// A value the device sent, as one line of plain text: a line break would
// let a device write lines of its own making (a forged entry) into the log,
// and other control bytes make the log "binary" to text tools or move the
// cursor of a terminal that shows it (ESC sequences, NEL). Every C0 and C1
// control and DEL becomes a blank. A device that sends its new address as
// an address never has them.
QByteArray asOneLine(QByteArray value)
{
    for (char &c : value) {
        if (isControl(uchar(c)))
            c = ' ';
    }
    return value;
}

// Up to six bytes as upper-case hexadecimal pairs separated by blanks
// ("02 00 00 00 00 01"); a shorter value shows the bytes it has.
QByteArray stationAddressText(const QByteArray &value)
{
    const QByteArray bytes = value.left(6);
    return bytes.toHex(' ').toUpper();
}

// The standard SNMPv1 traps an agent may send besides its own.
QByteArray genericTrapName(int genericTrap)
{
    static const char *const names[] = {"coldStart", "warmStart",           "linkDown",
                                        "linkUp",    "authenticationFailure", "egpNeighborLoss"};
    if (genericTrap >= 0 && genericTrap < int(std::size(names)))
        return names[genericTrap];
    return "Unknown generic trap " + QByteArray::number(genericTrap);
}

}  // namespace

QByteArray entryTextOf(const QString &mibText)
{
    QByteArray text = mibText.toLatin1();
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    for (char &c : text) {
        if (c != '\n' && isControl(uchar(c)))
            c = ' ';
    }
    text.replace("\n", "\r\n");
    return text;
}

QByteArray trapLogEntry(const ReceivedTrap &trap, const QByteArray *mibText)
{
    QByteArray entry;
    entry.reserve(160 + 48 * int(trap.values.size()));
    addLine(entry, "Trap received @ " + trap.timeText.toLatin1() + " from host " + trap.sender.toLatin1());

    // A standard trap says what it is by its name; its bindings (an
    // interface index, say) are no station addresses.
    if (trap.genericTrap != kEnterpriseSpecific) {
        addLine(entry, genericTrapName(trap.genericTrap));
        return entry;
    }

    addLine(entry, mibText ? *mibText : "Unknown trap code " + QByteArray::number(trap.code));
    switch (trap.code) {
    case 6:
        for (int i = 0; i < trap.values.size(); ++i)
            addSeparatorBlock(entry);
        break;
    case 7:
        for (const QByteArray &value : trap.values) {
            addLine(entry, "The new IP Addres :");
            addLine(entry, asOneLine(value));
            addLine(entry, kSeparator);
            entry += "\r\n";
        }
        break;
    case 8:
    case 9:
        addSeparatorBlock(entry);  // the bindings add nothing
        break;
    default:
        for (const QByteArray &value : trap.values) {
            addLine(entry, "Station Mac Address :");
            addLine(entry, stationAddressText(value));
            addLine(entry, kSeparator);
            entry += "\r\n";
        }
        break;
    }
    return entry;
}

}  // namespace traps
