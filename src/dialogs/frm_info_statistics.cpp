#include "dialogs/frm_info_statistics.h"

#include "config/configuration_store.h"
#include "dialogs/information_view_parts.h"
#include "agent/device_session.h"
#include "dialogs/statistics_refresh.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct Placed {
    int field;  // place of the counter in the record
    viewparts::CounterCell cell;
};

// Top to bottom; transmitted counters on the left, received on the right.
const Placed kLeftColumn[] = {
    {1, {"UnicastPacketsTxtxt", "Unicast Transmitted Packets"}},
    {2, {"BroadcastPacketsTxtxt", "Broadcast Transmitted Packets"}},
    {3, {"MulticastPacketsTxtxt", "Multicast Transmitted Packets"}},
    {4, {"BeaconTxtxt", "Transmitted Beacon"}},
    {9, {"AckPacketsTxtxt", "Transmitted ACK"}},
    {10, {"RTSPacketsTxtxt", "Transmitted RTS"}},
    {11, {"CTSPacketsTxtxt", "Transmitted CTS"}},
    {15, {"ACKFailuretxt", "ACK Failure"}},
    {16, {"CTSFailuretxt", "CTS Failure"}},
    {17, {"RetryPacketstxt", "Retry Packets"}},
    {18, {"FCSErrortxt", "FCS Error"}},
};
const Placed kRightColumn[] = {
    {5, {"UnicastPacketsRxtxt", "Unicast Received Packets"}},
    {6, {"BroadcastPacketsRxtxt", "Broadcast Received Packets"}},
    {7, {"MulticastPacketsRxtxt", "Multicast Received Packets"}},
    {8, {"BeaconRxtxt", "Received Beacon"}},
    {12, {"AckPacketsRxtxt", "Received ACK"}},
    {13, {"RTSPacketsRxtxt", "Received RTS"}},
    {14, {"CTSPacketsRxtxt", "Received CTS"}},
    {19, {"ReceivedDuplicatetxt", "Received Duplicate"}},
    {20, {"FailedPacketstxt", "Failed Packets"}},
    {21, {"PacketsAgedtxt", "Aged Packets"}},
    {22, {"InvalidPLCPtxt", "Invalid PLCP"}},
};

}  // namespace

frmInfoStatistics::frmInfoStatistics(agent::DeviceSession &session, QWidget *parent)
    : SettingsDialog(QStringLiteral(" Wireless Statistics"), parent), device_(session.device())
{
    setObjectName(QStringLiteral("frmInfoStatistics"));
    viewparts::useCompactFont(this);
    const int captionWidth = viewparts::captionWidth(this);
    auto *Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(Frame1);
    viewparts::tighten(grid);
    grid->setColumnMinimumWidth(2, 4);
    int row = 0;
    for (const Placed &p : kLeftColumn)
        counterBoxes_[p.field] = viewparts::addCounterRow(grid, row++, 0, p.cell, captionWidth, Frame1);
    row = 0;
    for (const Placed &p : kRightColumn)
        counterBoxes_[p.field] = viewparts::addCounterRow(grid, row++, 3, p.cell, captionWidth, Frame1);

    auto *OKCommand = viewparts::okButton(this);
    connect(OKCommand, &QPushButton::clicked, this, &frmInfoStatistics::OKCommand_Click);
    refresh_ = new StatisticsRefresh(session, config::Group::WirelessStatistics, [this] { ShowStatistics(); }, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Frame1);
    auto *foot = new QHBoxLayout;
    foot->addWidget(refresh_->ReadingTimeLabel, 1);
    foot->addWidget(refresh_->RefreshCommand);
    foot->addWidget(OKCommand);
    layout->addLayout(foot);
    // Nothing here is edited: OK takes the focus, not the first box.
    OKCommand->setFocus();

    Form_Load();
}

void frmInfoStatistics::Form_Load() { ShowStatistics(); }

void frmInfoStatistics::ShowStatistics()
{
    const config::WirelessStatisticsRecord &record = device_.store().wirelessStatistics;
    for (int field = 1; field <= config::WirelessStatisticsRecord::kCount; ++field)
        counterBoxes_[field]->setText(QString::number(record.at(field)));
}

void frmInfoStatistics::OKCommand_Click() { accept(); }
