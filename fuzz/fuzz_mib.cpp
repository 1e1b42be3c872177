// Feeds arbitrary bytes to the MIB loader as a module text, then looks up
// what it may have defined. The loader must never crash, hang or read out
// of bounds, and a failed load must leave the previously known names alone.

#include "snmp/mib.h"

#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Every rejected input would otherwise print a warning.
    QLoggingCategory::setFilterRules(QStringLiteral("corvane.snmp.mib=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    snmp::Mib mib;
    const snmp::Mib::LoadResult result =
        mib.loadText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("fuzz"));

    if (!result.ok) {
        // Nothing half-read may stay behind.
        if (mib.hasModule() || !mib.objectNames().isEmpty() || !mib.trapDefinitions().isEmpty()
            || result.error.isEmpty() || mib.OidOf(QStringLiteral("enterprises")) != QLatin1String("1.3.6.1.4.1"))
            std::abort();
        return 0;
    }

    for (const QString &name : mib.objectNames()) {
        const snmp::Mib::ObjectDefinition *object = mib.object(name);
        if (!object || object->oid != mib.OidOf(name) || object->oid.isEmpty())
            std::abort();
        (void)mib.nameOf(object->oid);
    }
    for (const snmp::Mib::TrapDefinition &trap : mib.trapDefinitions()) {
        const snmp::Mib::TrapDefinition *found = mib.trapDefinition(trap.code);
        if (!found || found->code != trap.code)
            std::abort();
        (void)mib.OidOf(trap.enterprise);
    }
    for (qint32 code = -1; code <= 10; ++code)
        (void)mib.trapDefinition(code);
    (void)mib.OidOf(QStringLiteral("operESSID"));
    (void)mib.OidOf(QStringLiteral("sysDescr"));
    return 0;
}
