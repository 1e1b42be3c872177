#include "dialogs/frm_ethernet_statistics.h"

#include "config/configuration_store.h"
#include "dialogs/information_view_parts.h"
#include "agent/device_session.h"
#include "dialogs/statistics_refresh.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Both in record order, top to bottom.
const viewparts::CounterCell kReceive[] = {
    {"TotalBytesRxtxt", "Total Bytes"},
    {"TotalPacketsRxtxt", "Total Packets"},
    {"PacketCRCErrorsRxtxt", "Packet CRC Errors"},
    {"MulticastPacketsRxtxt", "Multicast Packets"},
    {"BroadcastPacketsRxtxt", "Broadcast Packets"},
    {"ControlFramesRxtxt", "Control Frames"},
    {"PauseFramesRxtxt", "Pause Frames"},
    {"UnknownOPCodeRxtxt", "UnknownOP Code"},
    {"AlignmentErrRxtxt", "Alignment Error"},
    {"LengthOutOfRangeRxtxt", "Length Out Of Range"},
    {"CodeErrorRxtxt", "Code Error"},
    {"FalseCarrierRxtxt", "False Carrier"},
    {"UndersizePacketsRxtxt", "Undersize Packets"},
    {"OversizePacketsRxtxt", "Oversize Packets"},
    {"TotalFragmentsRxtxt", "Total Fragments"},
    {"TotalJabberRxtxt", "Total Jabber"},
};
const viewparts::CounterCell kTransmit[] = {
    {"TotalBytesTxtxt", "Total Bytes"},
    {"TotalPacketsTxtxt", "Total Packets"},
    {"PacketCRCErrorsTxtxt", "Packet CRC Errors"},
    {"MulticastPacketsTxtxt", "Multicast Packets"},
    {"BroadcastPacketsTxtxt", "Broadcast Packets"},
    {"UnicastPacketsTxtxt", "Unicast Packets"},
    {"PauseFramesTxtxt", "Pause Frames"},
    {"SingleDeferPacketsTxtxt", "SingleDefer Packets"},
    {"MultiDeferPacketsTxtxt", "MultiDefer Packets"},
    {"SingleCollisionPacketsTxtxt", "Single Collisions"},
    {"MultiCollisionPacketsTxtxt", "Multi Collisions"},
    {"LateCollisionsPacketsTxtxt", "Late Collisions"},
    {"ExcessiveCollisionPacketsTxtxt", "Excessive Collisions"},
    {"TotalCollisionTxtxt", "Total Collisions"},
};
static_assert(std::size(kReceive) == config::EthRxStatisticsRecord::kCount);
static_assert(std::size(kTransmit) == config::EthTxStatisticsRecord::kCount);

template <std::size_t N>
QGroupBox *counterFrame(const char *name, const QString &caption, const viewparts::CounterCell (&cells)[N],
                        QLineEdit **boxes, int captionWidth, QWidget *parent)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(QLatin1String(name));
    auto *grid = new QGridLayout(frame);
    viewparts::tighten(grid);
    grid->setContentsMargins(4, 2, 4, 2);
    for (std::size_t k = 0; k < N; ++k)
        boxes[k + 1] = viewparts::addCounterRow(grid, int(k), 0, cells[k], captionWidth, frame);
    grid->setRowStretch(int(N), 1);
    return frame;
}

}  // namespace

frmEthernetStatistics::frmEthernetStatistics(agent::DeviceSession &session, QWidget *parent)
    : SettingsDialog(QStringLiteral(" Ethernet Statistics"), parent), device_(session.device())
{
    setObjectName(QStringLiteral("frmEthernetStatistics"));
    viewparts::useCompactFont(this);
    const int captionWidth = viewparts::captionWidth(this);
    QGroupBox *Frame1 =
        counterFrame("Frame1", QStringLiteral("Received Packets"), kReceive, receiveBoxes_, captionWidth, this);
    QGroupBox *Frame2 =
        counterFrame("Frame2", QStringLiteral("Transmitted Packets"), kTransmit, transmitBoxes_, captionWidth, this);
    auto *OKCommand = viewparts::okButton(this);
    connect(OKCommand, &QPushButton::clicked, this, &frmEthernetStatistics::OKCommand_Click);

    refresh_ = new StatisticsRefresh(session, config::Group::EthernetStatistics, [this] { ShowStatistics(); }, this);

    // The transmit column is two rows shorter; the time of the reading and
    // the buttons sit in the room below it.
    auto *foot = new QVBoxLayout;
    foot->setSpacing(2);
    foot->addWidget(refresh_->ReadingTimeLabel);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(refresh_->RefreshCommand);
    buttons->addWidget(OKCommand);
    foot->addLayout(buttons);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setHorizontalSpacing(4);
    grid->addWidget(Frame1, 0, 0, 2, 1);
    grid->addWidget(Frame2, 0, 1);
    grid->addLayout(foot, 1, 1, Qt::AlignBottom);
    // Nothing here is edited: OK takes the focus, not the first box.
    OKCommand->setFocus();

    Form_Load();
}

void frmEthernetStatistics::Form_Load() { ShowStatistics(); }

void frmEthernetStatistics::ShowStatistics()
{
    const config::ConfigurationStore &store = device_.store();
    for (int k = 1; k <= config::EthRxStatisticsRecord::kCount; ++k)
        receiveBoxes_[k]->setText(QString::number(store.EthRxStatistics.at(k)));
    for (int k = 1; k <= config::EthTxStatisticsRecord::kCount; ++k)
        transmitBoxes_[k]->setText(QString::number(store.EthTxStatistics.at(k)));
}

void frmEthernetStatistics::OKCommand_Click() { accept(); }
