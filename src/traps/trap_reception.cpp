#include "trap_reception.h"

#include "snmp/mib.h"
#include "snmp/snmp_manager.h"
#include "trap_entry.h"
#include "trap_log_file.h"

#include <QLoggingCategory>
#include <utility>

Q_LOGGING_CATEGORY(lcTraps, "corvane.traps")

namespace traps {

TrapReception::TrapReception(snmp::SnmpManager &trapManager, const snmp::Mib &mib,
                             std::function<QString()> managedDevice, std::function<bool()> savingToFile,
                             QObject *parent)
    : QObject(parent),
      manager_(trapManager),
      mib_(mib),
      managedDevice_(std::move(managedDevice)),
      savingToFile_(std::move(savingToFile)),
      timeText_(TimeOfDayText())
{
    connect(&manager_, &snmp::SnmpManager::Trap, this, &TrapReception::Manager2_Trap);
}

TrapReception::~TrapReception()
{
    // The last burst still goes to the file; nobody is told any more.
    blockSignals(true);
    flush();
}

void TrapReception::setLogFilePath(const QString &path)
{
    flush();  // what came before goes where it was meant to
    file_.setPath(path);
}

QString TrapReception::logFilePath() const
{
    if (file_.path().isEmpty())
        file_.setPath(defaultTrapLogPath());
    return file_.path();
}

int TrapReception::enlargeReceiveBuffer(int bytes)
{
    const int granted = manager_.setReceiveBufferSize(bytes);
    qCInfo(lcTraps) << "trap socket receive buffer: asked for" << bytes << "bytes, granted" << granted;
    return granted;
}

const QByteArray *TrapReception::mibTextOf(qint32 code)
{
    auto known = mibTexts_.find(code);
    if (known == mibTexts_.end()) {
        const snmp::Mib::TrapDefinition *definition = mib_.trapDefinition(code);
        known = mibTexts_.insert(code, definition ? std::optional(entryTextOf(definition->Text)) : std::nullopt);
    }
    return known->has_value() ? &known->value() : nullptr;
}

void TrapReception::Manager2_Trap()
{
    // Only the device this console talks to may write into its log.
    const QString managed = managedDevice_ ? managedDevice_() : QString();
    if (managed.isEmpty() || manager_.RemoteHost != managed) {
        ++dropped_;
        return;
    }
    if (!burstOpen_) {
        burstOpen_ = true;
        burstTime_ = timeText_ ? timeText_() : QString();
        // After every trap the trap instance handed over with this one.
        QMetaObject::invokeMethod(this, &TrapReception::flush, Qt::QueuedConnection);
        emit trapMarkShown();
    }

    const snmp::SnmpMessage &message = manager_.Message;
    ReceivedTrap trap;
    trap.timeText = burstTime_;
    trap.sender = manager_.RemoteHost;
    trap.genericTrap = message.GenericTrap;
    trap.code = message.TrapCode;
    trap.values.reserve(message.Variables.Count());
    for (const snmp::SnmpVariable &variable : message.Variables)
        trap.values.append(variable.Value);
    const QByteArray entry =
        trapLogEntry(trap, trap.genericTrap == kEnterpriseSpecific ? mibTextOf(trap.code) : nullptr);

    if (TrapLog.size() > kTrapLogLimit)
        TrapLog.clear();
    const QString text = QString::fromLatin1(entry);
    TrapLog += text;
    emit entryLogged(text);
    ++burstEntries_;

    if (savingToFile_ && savingToFile_()) {
        pendingFile_ += entry;
        pendingEnds_.append(pendingFile_.size());
    }
}

void TrapReception::flush()
{
    burstOpen_ = false;
    const int entries = std::exchange(burstEntries_, 0);
    const QByteArray bytes = std::exchange(pendingFile_, QByteArray());
    const QList<qsizetype> ends = std::exchange(pendingEnds_, {});
    FileWriteResult written{true, 0, QString()};
    if (!bytes.isEmpty()) {
        logFilePath();  // the default path, when none was set
        written = file_.append(bytes, ends);
    }
    logged_ += entries;
    if (written.ok) {
        lastFileError_.clear();
        return;
    }
    // The entries stay in memory; the user learns why the file lacks them.
    if (written.error != lastFileError_)
        qCWarning(lcTraps).noquote() << written.error;
    lastFileError_ = written.error;
    emit fileProblem(written.error);
}

}  // namespace traps
