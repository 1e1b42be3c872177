#include "frm_find_devices.h"

#include "agent/address_range.h"
#include "agent/device_session.h"
#include "dialogs/frm_ip_address.h"
#include "settings/app_settings.h"
#include "config/encodings.h"
#include "widgets/accessibility.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

frmFindDevices::frmFindDevices(agent::DeviceSession &session, QWidget *parent) : QWidget(parent), session_(session)
{
    widgets::makeAccessible(this);
    setObjectName(QStringLiteral("frmFindDevices"));
    setWindowTitle(QStringLiteral("Find Devices"));
    setAttribute(Qt::WA_DeleteOnClose);

    const QString scanAddress = session_.options().scanAddress;
    RangeText = new QLineEdit(this);
    RangeText->setObjectName(QStringLiteral("RangeText"));
    RangeText->setPlaceholderText(QStringLiteral("empty: every device (%1)").arg(scanAddress));
    RangeText->setToolTip(QStringLiteral("Empty: the probe goes to %1 and every device answers. Or an address, a "
                                         "network (192.168.1.0/24) or a span (10.0.0.5-10.0.0.80): each address is "
                                         "probed.")
                              .arg(scanAddress));
    CommunityText = new QLineEdit(this);
    CommunityText->setObjectName(QStringLiteral("CommunityText"));
    CommunityText->setText(
        settings::readSetting(QStringLiteral("BridgeSettings"), QStringLiteral("LastPassword"), config::kFactoryCommunity));
    auto *rangeLabel = new QLabel(QStringLiteral("&Addresses"), this);
    rangeLabel->setBuddy(RangeText);
    auto *communityLabel = new QLabel(QStringLiteral("C&ommunity"), this);
    communityLabel->setBuddy(CommunityText);

    DevicesList = new QTreeWidget(this);
    DevicesList->setObjectName(QStringLiteral("DevicesList"));
    DevicesList->setHeaderLabels({QStringLiteral("Address"), QStringLiteral("Firmware"),
                                  QStringLiteral("Ethernet Address"), QStringLiteral("ESSID"),
                                  QStringLiteral("Channel")});
    DevicesList->setRootIsDecorated(false);
    DevicesList->setUniformRowHeights(true);
    DevicesList->setAllColumnsShowFocus(true);
    auto *listLabel = new QLabel(QStringLiteral("&Devices found (double-click one to manage it)"), this);
    listLabel->setBuddy(DevicesList);

    ProgressLabel = new QLabel(this);
    ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    ProgressLabel->setWordWrap(true);

    FindCommand = new QPushButton(QStringLiteral("&Find"), this);
    FindCommand->setObjectName(QStringLiteral("FindCommand"));
    FindCommand->setDefault(true);
    StopCommand = new QPushButton(QStringLiteral("&Stop"), this);
    StopCommand->setObjectName(QStringLiteral("StopCommand"));
    ConnectCommand = new QPushButton(QStringLiteral("Co&nnect"), this);
    ConnectCommand->setObjectName(QStringLiteral("ConnectCommand"));
    ConnectCommand->setToolTip(QStringLiteral("Manage the chosen device, as the connect dialog's OK would"));
    CloseCommand = new QPushButton(QStringLiteral("C&lose"), this);
    CloseCommand->setObjectName(QStringLiteral("CloseCommand"));

    auto *fields = new QGridLayout;
    fields->addWidget(rangeLabel, 0, 0);
    fields->addWidget(RangeText, 0, 1);
    fields->addWidget(communityLabel, 1, 0);
    fields->addWidget(CommunityText, 1, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {FindCommand, StopCommand, ConnectCommand, CloseCommand})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(listLabel);
    layout->addWidget(DevicesList, 1);
    layout->addWidget(ProgressLabel);
    layout->addLayout(buttons);
    // Fits in the main window at its default size.
    resize(400, 280);

    connect(FindCommand, &QPushButton::clicked, this, &frmFindDevices::FindCommand_Click);
    connect(StopCommand, &QPushButton::clicked, this, &frmFindDevices::StopCommand_Click);
    connect(ConnectCommand, &QPushButton::clicked, this, &frmFindDevices::ConnectCommand_Click);
    connect(CloseCommand, &QPushButton::clicked, this, &QWidget::close);
    connect(DevicesList, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        DevicesList->setCurrentItem(item);
        ConnectCommand_Click();
    });
    connect(DevicesList, &QTreeWidget::currentItemChanged, this,
            [this] { ConnectCommand->setEnabled(DevicesList->currentItem() != nullptr); });
    showRunning(false);
    ConnectCommand->setEnabled(false);
}

void frmFindDevices::FindCommand_Click()
{
    QVector<QHostAddress> addresses;
    const QString range = RangeText->text().trimmed();
    if (!range.isEmpty()) {
        const agent::AddressRange parsed = agent::parseAddressRange(range);
        if (!parsed.error.isEmpty()) {
            ProgressLabel->setText(parsed.error);
            RangeText->setFocus();
            return;
        }
        addresses = parsed.addresses;
    }
    DevicesList->clear();
    ConnectCommand->setEnabled(false);
    makeFinder(CommunityText->text().toLatin1());
    showRunning(true);
    if (range.isEmpty()) {
        searched_ = session_.options().scanAddress;
        ProgressLabel->setText(QStringLiteral("Asking every device at %1...").arg(searched_));
        finder_->scan(searched_);
    } else {
        searched_ = range;
        finder_->probe(addresses);
    }
}

void frmFindDevices::makeFinder(const QByteArray &community)
{
    // Each search with the community as typed for it.
    delete finder_;
    finder_ = new agent::DeviceFinder(session_.requestEngine(), session_.mib(), session_.options().agentPort,
                                      community, session_.options().timeScale, this);
    connect(finder_, &agent::DeviceFinder::found, this, &frmFindDevices::add);
    connect(finder_, &agent::DeviceFinder::progress, this, [this](int done, int total) {
        ProgressLabel->setText(QStringLiteral("Probed %1 of %2 addresses; %3 device(s) found.")
                                   .arg(done)
                                   .arg(total)
                                   .arg(DevicesList->topLevelItemCount()));
    });
    connect(finder_, &agent::DeviceFinder::finished, this, [this](bool stopped) {
        showRunning(false);
        ProgressLabel->setText(QStringLiteral("%1: %2 device(s) found%3.")
                                   .arg(searched_)
                                   .arg(DevicesList->topLevelItemCount())
                                   .arg(stopped ? QStringLiteral(" before Stop") : QString()));
    });
}

void frmFindDevices::StopCommand_Click()
{
    if (finder_)
        finder_->stop();
}

void frmFindDevices::ConnectCommand_Click()
{
    const QTreeWidgetItem *item = DevicesList->currentItem();
    if (!item)
        return;
    frmIPAddress::confirmConnect(session_, item->text(AddressColumn), CommunityText->text());
}

void frmFindDevices::add(const agent::FoundDevice &device)
{
    auto *item = new QTreeWidgetItem;
    item->setText(AddressColumn, device.address.toString());
    item->setText(FirmwareColumn, device.firmware);
    if (device.problem.isEmpty()) {
        item->setText(EthernetColumn, device.ethernetAddress);
        item->setText(EssidColumn, device.essid);
        item->setText(ChannelColumn, QString::number(device.channel));
    } else {
        item->setText(EthernetColumn, device.problem);
        item->setToolTip(EthernetColumn, device.problem);
    }
    // In address order, whatever order the answers come in.
    int at = 0;
    while (at < DevicesList->topLevelItemCount()
           && QHostAddress(DevicesList->topLevelItem(at)->text(AddressColumn)).toIPv4Address()
                  < device.address.toIPv4Address())
        ++at;
    DevicesList->insertTopLevelItem(at, item);
    for (int column = AddressColumn; column < ChannelColumn; ++column)
        DevicesList->resizeColumnToContents(column);
    if (!DevicesList->currentItem())
        DevicesList->setCurrentItem(item);
}

void frmFindDevices::showRunning(bool running)
{
    FindCommand->setEnabled(!running);
    StopCommand->setEnabled(running);
    RangeText->setEnabled(!running);
    CommunityText->setEnabled(!running);
}
