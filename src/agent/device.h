#pragma once
// One access point as the console, a script or an exporter manages it:
// where it is and how to reach it, its own configuration store, which
// groups came from it since the last connect and which hold edits not yet
// sent. Devices share a request engine and a MIB, never state: a program
// may hold hundreds of them.
//
// Requests go through send(): the device's address, port and community,
// the next request id of the device's own counter, the time-out at the
// device's pace.

#include "config/configuration_store.h"
#include "config/store_groups.h"
#include "snmp/reply.h"

#include <QDateTime>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <array>
#include <optional>

namespace snmp {
class Mib;
class RequestEngine;
}  // namespace snmp

namespace agent {

class Device : public QObject {
    Q_OBJECT
public:
    Device(snmp::RequestEngine &engine, const snmp::Mib &mib, QObject *parent = nullptr);

    // The address as given: a dotted IPv4 address or "localhost", blanks
    // around allowed. Anything else is sent nothing (InvalidRequest).
    QString address() const { return address_; }
    void setAddress(const QString &address);
    quint16 port() const { return port_; }
    void setPort(quint16 port) { port_ = port; }
    QByteArray community() const { return community_; }
    void setCommunity(const QByteArray &community) { community_ = community; }

    config::ConfigurationStore &store() { return store_; }
    const config::ConfigurationStore &store() const { return store_; }

    // --- what the store holds ------------------------------------------------------
    // A group is read when every value of it passed its checks and went
    // into the store whole; readAt() is when (null: not since the connect).
    bool isRead(config::Group group) const { return readAt(group).isValid(); }
    QDateTime readAt(config::Group group) const { return readAt_[size_t(group)]; }
    void markRead(config::Group group);
    // A group is edited when a window stored values that differ from what
    // it held, until a download sends them.
    bool isEdited(config::Group group) const { return edited_ & bit(group); }
    bool editsWaiting() const { return edited_ != 0; }
    void markEdited(config::Group group);
    void markSent(config::Group group);
    // After a window stored its controls: `group` is edited when its values
    // in the store differ from `before` (a copy taken just before).
    void noteEdits(config::Group group, const config::ConfigurationStore &before);
    // A new connect: nothing read, nothing edited, no new address waiting.
    void forget();

    // --- talking to it ---------------------------------------------------------------
    // Time-outs and intervals at the device's pace times `scale` (tests run
    // the device's timing faster; 1.0 is its own pace).
    void setTimeScale(double scale) { timeScale_ = scale; }
    int scaled(int milliseconds) const;

    // A request to the device: each binding's object named by the MIB, as
    // its scalar instance. The reply is never null; the caller deletes it.
    // `responders` other than Host: the request goes to `to` (a scan).
    snmp::Reply *send(snmp::PduType type, const QVector<snmp::VarBind> &bindings, int timeoutMs, int retries = 0,
                      const QString &to = QString(),
                      snmp::Request::Responders responders = snmp::Request::Responders::Host);
    // The scalar instance of a MIB object; std::nullopt when the MIB does not know it.
    std::optional<snmp::Oid> instanceOf(const QString &objectName) const;

signals:
    void editsWaitingChanged(bool waiting);

private:
    static quint32 bit(config::Group group) { return quint32(1) << int(group); }
    void setEdited(quint32 edited);

    snmp::RequestEngine &engine_;
    const snmp::Mib &mib_;
    QString address_;
    QHostAddress host_;  // address_ parsed, null when it is no address
    quint16 port_ = 161;
    QByteArray community_;
    config::ConfigurationStore store_;
    std::array<QDateTime, config::kGroupCount> readAt_;
    quint32 edited_ = 0;
    double timeScale_ = 1.0;
    qint32 requestCounter_ = 0;
};

// A user's text as a device address: a dotted IPv4 address or "localhost",
// blanks around allowed. No name lookup: it would freeze a window.
std::optional<QHostAddress> addressFromText(const QString &text);

}  // namespace agent
