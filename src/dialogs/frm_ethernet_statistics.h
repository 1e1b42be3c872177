#pragma once
// The Ethernet receive and transmit counters of the last read, in two
// framed columns. A snapshot with Refresh, like the wireless statistics view.

#include "config/configuration_store.h"
#include "dialogs/settings_dialog.h"

class QLineEdit;
class StatisticsRefresh;

namespace agent {
class Device;
class DeviceSession;
}

class frmEthernetStatistics : public SettingsDialog {
    Q_OBJECT
    agent::Device &device_;  // the device the dialog shows


public:
    explicit frmEthernetStatistics(agent::DeviceSession &session, QWidget *parent = nullptr);

private slots:
    void OKCommand_Click();

private:
    void Form_Load();
    void ShowStatistics();

    // In record order, 1-based.
    QLineEdit *receiveBoxes_[config::EthRxStatisticsRecord::kCount + 1] = {};
    QLineEdit *transmitBoxes_[config::EthTxStatisticsRecord::kCount + 1] = {};
    StatisticsRefresh *refresh_ = nullptr;
};
