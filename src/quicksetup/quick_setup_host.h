#pragma once
// What the quick-setup window needs from the window that starts it: the
// device session, the connect dialog, the download, the help topics and
// the program's end. The main window implements it; the quick-setup window
// never reaches for the main window itself.

#include "agent/device_session.h"

class frmIPAddress;

class QuickSetupHost {
public:
    virtual agent::DeviceSession &session() = 0;
    // The one connect dialog, shared with the main window's File menu.
    virtual frmIPAddress *connectDialog() = 0;
    // The main window's download of what the store holds.
    virtual agent::DeviceSession::DownloadStart SavePara() = 0;
    virtual void showHelpTopics() = 0;
    // False when the user keeps edits that wait to be downloaded.
    virtual bool mayEndProgram() = 0;
    virtual void saveWindowPlacement() = 0;

protected:
    ~QuickSetupHost() = default;
};
