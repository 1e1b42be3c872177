// Answers GET, GETNEXT and SET requests, and spoils the answers as the
// value faults ask. No network code: the UDP path and tests both call
// handleRequest().

#include "simulated_access_point.h"

#include "device_objects.h"
#include "sim_logging.h"
#include "value_faults.h"

namespace sim {

namespace {

using snmp::Message;
using snmp::PduType;

// UDP datagrams above this are refused by many stacks; an answer that
// would be larger gets tooBig instead.
constexpr qsizetype kMaxAnswerSize = 8192;

const QString kTestModeCommand = QStringLiteral("TestModeCommandStruct");
const QString kTestModeOnOff = QStringLiteral("TestModeOnOff");

bool isRequest(PduType type)
{
    return type == PduType::GetRequest || type == PduType::GetNextRequest || type == PduType::SetRequest;
}

// A response carrying the request's bindings unchanged, as every error
// answer must.
Message responseTo(const Message &request)
{
    Message answer;
    answer.version = 0;
    answer.community = request.community;
    answer.pdu.type = PduType::GetResponse;
    answer.pdu.requestId = request.pdu.requestId;
    answer.pdu.varBinds = request.pdu.varBinds;
    return answer;
}

Message errorAnswer(const Message &request, int status, int index)
{
    Message answer = responseTo(request);
    answer.pdu.errorStatus = status;
    answer.pdu.errorIndex = index;
    return answer;
}

}  // namespace

std::optional<QByteArray> SimulatedAccessPoint::handleRequest(const QByteArray &datagram)
{
    const std::optional<Message> request = acceptRequest(datagram);
    if (!request)
        return std::nullopt;
    return answerAccepted(*request);
}

std::optional<Message> SimulatedAccessPoint::acceptRequest(const QByteArray &datagram)
{
    const snmp::DecodeResult decoded = snmp::decodeMessage(datagram);
    if (!decoded.ok()) {
        ++ignored_;
        qCDebug(lcSim) << "ignored an undecodable datagram:" << snmp::berErrorText(decoded.error);
        return std::nullopt;
    }
    const Message &request = *decoded.message;
    if (!isRequest(request.pdu.type)) {
        ++ignored_;
        qCDebug(lcSim) << "ignored a PDU that is no request, tag" << Qt::hex << int(request.pdu.type);
        return std::nullopt;
    }
    if (received_.size() >= kMaxRecordedRequests)
        received_.removeFirst();
    received_.append(request);
    emit requestReceived(request);
    if (request.community != community) {
        ++ignored_;
        qCDebug(lcSim) << "ignored a request with another community";
        return std::nullopt;
    }
    return request;
}

std::optional<QByteArray> SimulatedAccessPoint::answerAccepted(const Message &request)
{
    if (faults.silent || namesSilentObject(request))
        return std::nullopt;
    Message answer = answerFor(request);
    applyAnswerFaults(request, answer);
    QByteArray bytes = snmp::encodeMessage(answer);
    if (bytes.size() > kMaxAnswerSize) {
        Message tooBig = errorAnswer(request, snmp::error_status::TooBig, 0);
        tooBig.pdu.requestId = answer.pdu.requestId;
        bytes = snmp::encodeMessage(tooBig);
        if (bytes.size() > kMaxAnswerSize)
            return std::nullopt;
    }
    emit answered(bytes);
    return bytes;
}

Message SimulatedAccessPoint::answerFor(const Message &request)
{
    if (faults.errorStatus != 0)  // a device in trouble does nothing
        return errorAnswer(request, faults.errorStatus, 1);
    switch (request.pdu.type) {
    case PduType::GetRequest: return answerGet(request, false);
    case PduType::GetNextRequest: return answerGet(request, true);
    case PduType::SetRequest: return answerSet(request);
    default: break;
    }
    return errorAnswer(request, snmp::error_status::GenErr, 0);
}

Message SimulatedAccessPoint::answerGet(const Message &request, bool next)
{
    refreshCounters();
    Message answer = responseTo(request);
    QVector<snmp::VarBind> &binds = answer.pdu.varBinds;
    for (int i = 0; i < binds.size(); ++i) {
        if (next) {
            const Instance *following = nextInstanceAfter(binds[i].name);
            if (!following)  // past the last object
                return errorAnswer(request, snmp::error_status::NoSuchName, i + 1);
            binds[i].name = following->oid;
            binds[i].value = values_.value(following->name);
        } else {
            const QString name = nameOfInstance(binds[i].name);
            const DeviceObject *object = findObject(name);
            if (!object || !object->readable())
                return errorAnswer(request, snmp::error_status::NoSuchName, i + 1);
            const auto refused = faults.refusedObjects.constFind(name);
            if (refused != faults.refusedObjects.constEnd())
                return errorAnswer(request, *refused, i + 1);
            binds[i].value = values_.value(name);
        }
    }
    return answer;
}

Message SimulatedAccessPoint::answerSet(const Message &request)
{
    const QVector<snmp::VarBind> &binds = request.pdu.varBinds;
    QStringList names;
    bool testMode = values_.value(kTestModeOnOff).number == 1;
    // Every binding is checked before any is applied.
    for (int i = 0; i < binds.size(); ++i) {
        const QString name = nameOfInstance(binds[i].name);
        const DeviceObject *object = findObject(name);
        if (!object || !object->writable())
            return errorAnswer(request, snmp::error_status::NoSuchName, i + 1);
        const auto refused = faults.refusedObjects.constFind(name);
        if (refused != faults.refusedObjects.constEnd())
            return errorAnswer(request, *refused, i + 1);
        const QString refusal = refusalFor(*object, binds[i].value);
        if (!refusal.isEmpty()) {
            qCInfo(lcSim) << "SET refused:" << refusal;
            return errorAnswer(request, snmp::error_status::BadValue, i + 1);
        }
        if (name == kTestModeOnOff)
            testMode = true;
        if (name == kTestModeCommand && !testMode) {
            qCInfo(lcSim) << "SET refused: a radio test command outside test mode";
            return errorAnswer(request, snmp::error_status::GenErr, i + 1);
        }
        names.append(name);
    }

    QStringList commands;
    QSet<QString> changed;
    for (int i = 0; i < binds.size(); ++i) {
        const QString &name = names[i];
        if (name == kTestModeOnOff) {
            values_.insert(name, binds[i].value);
        } else if (findObject(name)->command) {
            commands.append(name);
        } else {
            if (values_.value(name) != binds[i].value)
                changed.insert(name);
            values_.insert(name, binds[i].value);
        }
    }
    reportChanges(changed);
    for (const QString &name : std::as_const(commands)) {
        if (name == QLatin1String("sysLoadDefaults")) {
            restoreFactoryValues();
            qCInfo(lcSim) << "factory values restored";
            if (eventTraps)
                sendTrap(9, {});
        } else if (name == QLatin1String("sysReset")) {
            reset();
        }
    }
    return responseTo(request);
}

void SimulatedAccessPoint::reportChanges(const QSet<QString> &changed)
{
    if (!eventTraps || changed.isEmpty())
        return;
    const QString address = QStringLiteral("operIPAddress");
    if (changed.contains(address)) {
        snmp::Oid oid;
        if (snmp::oidFromText(oidOf(address), oid)) {
            oid.append(0);
            sendTrap(7, {snmp::VarBind{oid, values_.value(address)}});
        }
    }
    if (changed.size() > (changed.contains(address) ? 1 : 0))
        sendTrap(6, {});
}

bool SimulatedAccessPoint::namesSilentObject(const Message &request) const
{
    if (faults.silentObjects.isEmpty())
        return false;
    for (const snmp::VarBind &bind : request.pdu.varBinds) {
        // The instance, or the object's own identifier as GETNEXT uses it.
        QString name = nameOfInstance(bind.name);
        if (name.isEmpty()) {
            snmp::Oid instance = bind.name;
            instance.append(0);
            name = nameOfInstance(instance);
        }
        if (!name.isEmpty() && faults.silentObjects.contains(name))
            return true;
    }
    return false;
}

void SimulatedAccessPoint::applyAnswerFaults(const Message &request, Message &answer) const
{
    if (faults.wrongRequestId)
        answer.pdu.requestId = qint32(quint32(answer.pdu.requestId) + 1000u);
    if (answer.pdu.errorStatus != 0)
        return;
    const bool isSet = request.pdu.type == PduType::SetRequest;
    for (snmp::VarBind &bind : answer.pdu.varBinds) {
        const QString name = nameOfInstance(bind.name);
        if (name.isEmpty())
            continue;
        if (isSet && faults.wrongEchoObjects.contains(name))
            bind.value = wrongEchoOf(bind.value);
        if (!isSet && faults.shortValueObjects.contains(name))
            bind.value = shortenedValue(bind.value);
        const auto bad = faults.badValues.constFind(name);
        if (bad != faults.badValues.constEnd())
            bind.value = *bad;
        if (faults.misnamedObjects.contains(name))
            bind.name.last() = 1;
    }
}

int SimulatedAccessPoint::extraDelayFor(const Message &request) const
{
    int delay = 0;
    for (const snmp::VarBind &bind : request.pdu.varBinds)
        delay = qMax(delay, faults.slowObjects.value(nameOfInstance(bind.name), 0));
    return delay;
}

}  // namespace sim
