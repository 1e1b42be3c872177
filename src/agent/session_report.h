#pragma once
// What the console's session tells the status line: one event at a time,
// with the result that caused it. The windows make the text (one place,
// at the window layer); the session only says what happened.

#include "agent/job.h"

#include <QMetaType>
#include <QObject>
#include <QString>

namespace agent {

struct SessionReport {
    Q_GADGET
public:
    enum Event {
        // Start-up.
        ManagerOpened,
        RequestPortInUse,
        TrapPortInUse,        // port
        TrapPortNeedsRights,  // port
        PortNotOpened,        // detail: why
        MibMissing,           // detail: why
        // Connecting and reading.
        Attempting,
        Found,
        NotFound,  // result: why nothing was found
        Reading,
        AllRetrieved,
        ReadFailed,  // result: the group, and why
        // Refusals before anything is sent.
        Busy,
        NoDevice,
        DownloadRefused,  // result: NotRead (group) or InvalidValue (object)
        // Changing the device.
        Downloading,
        DownloadDone,
        DownloadFailed,  // result
        ResetIssued,
        ResetFailed,  // result
        RestoreIssued,
        RestoreFailed,  // result
        TrapsSwitched,  // enable; result: whether the device followed
        // A request the loopback-only guard stopped (result.detail says where).
        RequestRefused,
        // Traps.
        TrapReceived,
        TrapFileProblem,  // detail
    };
    Q_ENUM(Event)

    Event event = ManagerOpened;
    JobResult result;
    QString detail;
    int port = 0;
    bool enable = false;
};

}  // namespace agent

Q_DECLARE_METATYPE(agent::SessionReport)
