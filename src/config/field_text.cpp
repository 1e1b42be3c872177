#include "field_text.h"

#include "config/encodings.h"
#include "config/value_rules.h"

#include <QHash>
#include <QRegularExpression>

namespace config {

namespace {

struct Choice {
    int code;
    const char *name;      // what is printed and typed
    const char *synonym;   // also taken when typed (the MIB's name); may be null
};

// Settings whose codes stand for choices.
const QHash<QString, QVector<Choice>> &choiceTable()
{
    static const QHash<QString, QVector<Choice>> table = {
        {QStringLiteral("traps"), {{1, "on", "enabled"}, {2, "off", "disabled"}}},
        {QStringLiteral("preamble"), {{1, "short", "shortPreamble"}, {2, "long", "longPreamble"}}},
        {QStringLiteral("authentication"), {{1, "open", "openSystem"}, {2, "shared", "sharedKey"}, {3, "both", nullptr}}},
        {QStringLiteral("auto-rate-fallback"), {{1, "on", nullptr}, {2, "off", nullptr}}},
        {QStringLiteral("wep"), {{1, "on", "enabled"}, {2, "off", "disabled"}}},
        {QStringLiteral("bridge-mode"),
         {{1, "bridge-to-bridge", "wirelessBridgeToWirelessBridge"},
          {2, "access-point", "accessPoint"},
          {3, "bridge", "wirelessBridge"}}},
    };
    return table;
}

// The two basic rate sets by the rates they hold.
struct RateSet {
    const QString &hex;
    const char *name;
};
const RateSet kRateSets[] = {{kBasicRatesAll, "1-2-5.5-11"}, {kBasicRatesLow, "1-2"}};

const QVector<Choice> *choicesFor(const DeviceObject &object)
{
    const auto it = choiceTable().constFind(object.field);
    return it == choiceTable().constEnd() ? nullptr : &*it;
}

QString oneOf(const QStringList &names) { return QStringLiteral("one of: ") + names.join(QStringLiteral(", ")); }

}  // namespace

const QVector<const DeviceObject *> &settingObjects()
{
    static const QVector<const DeviceObject *> objects = [] {
        QVector<const DeviceObject *> found;
        QVector<Group> groups = downloadedGroups();
        groups.insert(3, Group::Traps);  // after privacy, as the full read has it
        for (Group group : groups) {
            for (const DeviceObject *o : describe(group).readOrder) {
                if (!o->field.isEmpty() && o->writable())
                    found.append(o);
            }
        }
        return found;
    }();
    return objects;
}

const DeviceObject *settingNamed(const QString &field)
{
    for (const DeviceObject *o : settingObjects()) {
        if (o->field == field)
            return o;
    }
    return nullptr;
}

QStringList choicesOf(const DeviceObject &object)
{
    QStringList names;
    if (const QVector<Choice> *choices = choicesFor(object)) {
        for (const Choice &c : *choices)
            names << QLatin1String(c.name);
    } else if (object.rule == Rule::BasicRates) {
        for (const RateSet &set : kRateSets)
            names << QLatin1String(set.name);
    }
    return names;
}

QString acceptedText(const DeviceObject &object)
{
    const QStringList choices = choicesOf(object);
    if (!choices.isEmpty())
        return oneOf(choices);
    if (object.rule == Rule::Range)
        return QStringLiteral("a whole number from %1 to %2").arg(object.minimum).arg(object.maximum);
    return object.hint;
}

QString fieldText(const DeviceObject &object, const ConfigurationStore &store)
{
    if (object.integer) {
        const int code = store.*object.integer;
        if (const QVector<Choice> *choices = choicesFor(object)) {
            for (const Choice &c : *choices) {
                if (c.code == code)
                    return QLatin1String(c.name);
            }
        }
        return QString::number(code);
    }
    if (!object.text)
        return QString();
    const QString &text = store.*object.text;
    if (object.rule == Rule::BasicRates) {
        for (const RateSet &set : kRateSets) {
            if (set.hex == text)
                return QLatin1String(set.name);
        }
    }
    return text;
}

QString setFieldFromText(const DeviceObject &object, const QString &text, ConfigurationStore &store)
{
    ConfigurationStore scratch = store;
    if (object.integer) {
        std::optional<qint16> code;
        if (const QVector<Choice> *choices = choicesFor(object)) {
            for (const Choice &c : *choices) {
                if (text.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0
                    || (c.synonym && text.compare(QLatin1String(c.synonym), Qt::CaseInsensitive) == 0))
                    code = qint16(c.code);
            }
        }
        if (!code)
            code = integerFromText(text.toLatin1());
        if (!code)
            return acceptedText(object);
        scratch.*object.integer = *code;
    } else if (object.text) {
        QString value = text;
        if (object.rule == Rule::BasicRates) {
            for (const RateSet &set : kRateSets) {
                if (text == QLatin1String(set.name))
                    value = set.hex;
            }
        } else if (object.codec == Codec::Hex) {
            // Keys and addresses as people write them: "a1:b2:c3..." or
            // "A1 B2 C3 ...", stored as the digits alone, upper-case.
            static const QRegularExpression separators(QStringLiteral("[:\\- ]"));
            value = QString(text).remove(separators).toUpper();
        } else if (object.codec == Codec::Address) {
            value = text.trimmed();
        }
        scratch.*object.text = value;
    } else {
        return QStringLiteral("not a setting");
    }
    if (refusesValue(object, scratch))
        return acceptedText(object);
    store = scratch;
    return QString();
}

}  // namespace config
