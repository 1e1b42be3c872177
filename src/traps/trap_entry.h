#pragma once
// The text of one trap log entry, built from plain facts about the trap so
// that it can be checked byte for byte. The entry is single-byte text
// (Latin-1, one byte per character), every line ended by CR LF, exactly as
// the log file holds it.

#include <QByteArray>
#include <QString>
#include <QVector>

namespace traps {

// The generic-trap number of a trap that carries the device's own trap code.
constexpr int kEnterpriseSpecific = 6;

struct ReceivedTrap {
    QString timeText;  // time of day as the user's locale writes it
    QString sender;    // the sender's address
    int genericTrap = kEnterpriseSpecific;
    qint32 code = 0;             // the device's trap code (enterprise-specific traps)
    QVector<QByteArray> values;  // the bindings' values as received, in order
};

// The MIB text of a trap code as the entry writes it: Latin-1, any line
// break inside it made CR LF like the entry's own.
QByteArray entryTextOf(const QString &mibText);

// `mibText` is the device trap's text (entryTextOf), nullptr when the MIB
// does not define the code: the trap is still logged, as an unknown code.
QByteArray trapLogEntry(const ReceivedTrap &trap, const QByteArray *mibText);

}  // namespace traps
