#include "radio_job.h"

#include "config/encodings.h"
#include "config/radio_commands.h"
#include "snmp/snmp_message.h"

namespace agent {

namespace {

constexpr int kSwitchTimeoutMs = 2000;
constexpr int kCommandTimeoutMs = 1000;
constexpr int kConfigurationTimeoutMs = 1000;
constexpr int kResetTimeoutMs = 10000;

bool isNumber(const QByteArray &text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

config::Integer commandOf(RadioJob::Action action)
{
    switch (action) {
    case RadioJob::Action::ContinuousRx: return config::kContinuousRx;
    case RadioJob::Action::ContinuousTxWithModulation: return config::kContinuousTxWithModulation;
    case RadioJob::Action::ContinuousTxWithoutModulation: return config::kContinuousTxWithoutModulation;
    default: return config::kTestModeIdle;
    }
}

}  // namespace

RadioJob::RadioJob(Device &device, Action action, QObject *parent) : Job(device, parent), action_(action)
{
    switch (action) {
    case Action::StartTest:
    case Action::ContinuousRx:
    case Action::ContinuousTxWithModulation:
    case Action::ContinuousTxWithoutModulation: steps_ = {Step::SwitchOn, Step::Command}; break;
    case Action::Idle: steps_ = {Step::Command}; break;
    case Action::CloseTest: steps_ = {Step::Command, Step::Reset}; break;
    case Action::ReadConfiguration: steps_ = {Step::Read}; break;
    case Action::WriteConfiguration: steps_ = {Step::Write}; break;
    }
}

void RadioJob::run() { startRun(); }

void RadioJob::startRun()
{
    ++runs_;
    step_ = 0;
    runOk_ = true;
    nextStep();
}

void RadioJob::nextStep()
{
    if (step_ == steps_.size()) {
        if (runOk_)
            finish(JobResult());
        else if (runs_ == kRuns)
            finish(lastFailure_);
        else
            startRun();
        return;
    }
    const Step step = steps_[step_++];
    const config::ConfigurationStore &store = device().store();
    const config::DeviceObject *object = config::objectNamed(
        step == Step::SwitchOn  ? QStringLiteral("TestModeOnOff")
        : step == Step::Command ? QStringLiteral("TestModeCommandStruct")
        : step == Step::Reset   ? QStringLiteral("sysReset")
                                : QStringLiteral("TestModeRadioConfiguration"));
    snmp::Value value;
    int timeout = kCommandTimeoutMs;
    switch (step) {
    case Step::SwitchOn:
        value = snmp::Value::integer(1);
        timeout = kSwitchTimeoutMs;
        break;
    case Step::Command:
        if (const auto bytes = config::testModeCommandStruct(store, commandOf(action_)))
            value = snmp::Value::octets(*bytes);
        break;
    case Step::Reset:
        value = snmp::Value::integer(1);
        timeout = kResetTimeoutMs;
        break;
    case Step::Read: timeout = kConfigurationTimeoutMs; break;
    case Step::Write:
        value = snmp::Value::octets(config::HexToBytes(store.TestModeRadioConfiguration, object->bytes()));
        timeout = kConfigurationTimeoutMs;
        break;
    }
    const auto bindings = bindingsOf({object}, {value});
    if (!bindings || (step != Step::Read && value.kind == snmp::ValueKind::Null)) {
        lastFailure_ = JobResult::failed(JobResult::NotSendable, object->group, object);
        stepDone(false);
        return;
    }
    const snmp::PduType type = step == Step::Read ? snmp::PduType::GetRequest : snmp::PduType::SetRequest;
    exchange(device().send(type, *bindings, timeout), [this, step, object, value](const snmp::Reply &reply) {
        JobResult result = JobResult::of(reply);
        result.group = object->group;
        const QVector<snmp::VarBind> &answer = reply.response().pdu.varBinds;
        const QByteArray text = answer.isEmpty() ? QByteArray() : snmp::valueText(answer.first().value);
        if (result.ok()) {
            bool taken = !answer.isEmpty();
            switch (step) {
            case Step::SwitchOn: taken = taken && isNumber(text); break;
            case Step::Command: break;
            case Step::Reset: taken = taken && config::echoMatches({object, value}, answer.first().value); break;
            case Step::Write: taken = taken && text == value.bytes; break;
            case Step::Read: {
                config::ConfigurationStore scratch = device().store();
                const auto decoded = config::decodeGroup(config::Group::RadioConfiguration,
                                                         {answer.isEmpty() ? snmp::Value() : answer.first().value},
                                                         scratch);
                taken = decoded.verdict == config::StoreVerdict::Accepted;
                if (taken) {
                    config::copyGroup(config::Group::RadioConfiguration, scratch, device().store());
                    device().markRead(config::Group::RadioConfiguration);
                }
                break;
            }
            }
            if (!taken)
                result = JobResult::failed(step == Step::Read ? JobResult::Malformed : JobResult::WrongEcho,
                                           object->group, object);
        }
        if (!result.ok())
            lastFailure_ = result;
        stepDone(result.ok());
    });
}

void RadioJob::stepDone(bool ok)
{
    runOk_ = runOk_ && ok;
    nextStep();
}

}  // namespace agent
