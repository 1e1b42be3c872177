#pragma once
// Find Devices: every device that answers, listed as the answers come
// (address, firmware, Ethernet address, ESSID, channel), from the scan
// address or from a typed range (an address, a.b.c.d/nn or a span
// a.b.c.d-e.f.g.h). Stop ends the search; double-click or Connect manages
// the chosen device as the connect dialog's OK would, with the typed
// community.

#include "agent/device_finder.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace agent {
class DeviceSession;
}

class frmFindDevices : public QWidget {
    Q_OBJECT
public:
    explicit frmFindDevices(agent::DeviceSession &session, QWidget *parent = nullptr);

    QLineEdit *RangeText = nullptr;
    QLineEdit *CommunityText = nullptr;
    QPushButton *FindCommand = nullptr;
    QPushButton *StopCommand = nullptr;
    QPushButton *ConnectCommand = nullptr;
    QPushButton *CloseCommand = nullptr;
    QTreeWidget *DevicesList = nullptr;
    QLabel *ProgressLabel = nullptr;

    enum Column { AddressColumn, FirmwareColumn, EthernetColumn, EssidColumn, ChannelColumn };

public slots:
    void FindCommand_Click();
    void StopCommand_Click();
    void ConnectCommand_Click();

private:
    void makeFinder(const QByteArray &community);
    void add(const agent::FoundDevice &device);
    void showRunning(bool running);

    agent::DeviceSession &session_;
    agent::DeviceFinder *finder_ = nullptr;
    QString searched_;  // what the running or last search looked at
};
