#pragma once
// Names to object identifiers, and trap numbers to texts, read from an
// SMIv1 module (OBJECT IDENTIFIER, OBJECT-TYPE and TRAP-TYPE assignments).
// The standard roots (iso ... enterprises) and the RFC 1213 system group are
// known without any file, so OidOf("sysDescr") works even when no module
// could be loaded.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace snmp {

class Mib {
public:
    struct LoadResult {
        bool ok = false;
        QString error;  // one line a user can read: file, line, what is wrong
    };

    struct ObjectDefinition {
        QString name;
        QString oid;  // dotted
        QString syntax;
        QString access;
        QString description;
    };

    struct TrapDefinition {
        qint32 code = 0;
        QString name;
        QString enterprise;  // the ENTERPRISE name
        QStringList variables;
        QString Text;  // the DESCRIPTION, whitespace as written
    };

    Mib();

    // Reads a module from a file. On failure the names known before stay
    // known and the error says what went wrong; nothing half-read is kept.
    LoadResult Load(const QString &path);
    LoadResult loadText(const QByteArray &text, const QString &sourceName = QStringLiteral("MIB"));

    // Dotted OID of a name, or an empty string when the name is unknown.
    QString OidOf(const QString &name) const;
    // The name whose OID is exactly `oid`, or empty.
    QString nameOf(const QString &oid) const;

    bool hasModule() const { return moduleLoaded_; }
    QString moduleName() const { return moduleName_; }

    const ObjectDefinition *object(const QString &name) const;
    QStringList objectNames() const;  // names from loaded modules, in file order

    // Trap texts by trap number; nullptr when the number is not defined.
    const TrapDefinition *trapDefinition(qint32 code) const;
    QVector<TrapDefinition> trapDefinitions() const { return traps_; }

private:
    QHash<QString, QString> oids_;  // name -> dotted OID
    QHash<QString, QString> names_;  // dotted OID -> name
    QHash<QString, ObjectDefinition> objects_;
    QStringList objectOrder_;
    QVector<TrapDefinition> traps_;
    QString moduleName_;
    bool moduleLoaded_ = false;

    friend class MibParser;
};

}  // namespace snmp
