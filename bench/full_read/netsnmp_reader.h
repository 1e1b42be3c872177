#pragma once
// The same GET requests done with net-snmp's synchronous library, for the
// benchmark's comparison. Built only where net-snmp's headers exist.

#include <QString>
#include <QVector>

class NetSnmpReader {
public:
    using Oid = QVector<unsigned long>;
    // One GET per entry, each asking for its list of objects.
    NetSnmpReader(quint16 port, const QByteArray &community, const QVector<QVector<Oid>> &requests);
    ~NetSnmpReader();
    bool ok() const { return session_ != nullptr; }
    // All the GETs in order; false when one of them failed.
    bool readAll(int from = 0);

private:
    void *session_ = nullptr;
    QVector<QVector<Oid>> requests_;
};
