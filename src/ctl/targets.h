#pragma once
// The devices a command is for, as a user gives them: an address
// (192.168.1.20, localhost), optionally with its agent port
// (127.0.0.1:1161), a network (192.168.1.0/24) or a span of addresses
// (10.0.0.5-10.0.0.80). Names are not looked up: a script that means a
// name resolves it first, so that a typo never reaches another device.

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ctl {

struct Target {
    QHostAddress address;
    quint16 port = 0;  // 0: the command's --port
    QString text() const;  // "127.0.0.1" or "127.0.0.1:1161"
    bool operator==(const Target &other) const { return address == other.address && port == other.port; }
};

struct TargetList {
    QVector<Target> targets;
    QString error;  // when not empty, nothing is taken
};

// The largest span one command takes unless forced: a /16.
constexpr quint64 kMaxTargets = 65536;
// Even forced, no more than a /8.
constexpr quint64 kMaxForcedTargets = quint64(1) << 24;

// Every address the arguments name, in order, each once.
TargetList parseTargets(const QStringList &arguments, bool force);

// Whether `text` names a device (an address, with a port, a network or a span).
bool looksLikeTarget(const QString &text);

}  // namespace ctl
