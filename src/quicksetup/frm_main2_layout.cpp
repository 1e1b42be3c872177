// The quick-setup window's controls: captions, tooltips and layout of the
// six tabs and the buttons below them. The window must fit in the main
// window's default size (433 x 433 px), so long texts wrap.

#include "quicksetup/frm_main2.h"

#include "config/encodings.h"
#include "widgets/dialog_parts.h"
#include "widgets/masked_hex_edit.h"
#include "widgets/up_down_control.h"
#include "quicksetup/about_texts.h"
#include "quicksetup/whole_text_tip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <limits>

namespace {

// Tabs drawn as the platform draws them, with less room beside each caption.
class CompactTabs : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? qMin(value, 12) : value;
    }
};

const QString kApplyTip = QStringLiteral("Click Apply to accept the settings");
constexpr int kMacPairs = 6;
constexpr int kKeyPairs = 5;
constexpr int kMargin = 6;  // around the tabs and inside each page: the window must fit 433 x 433

QLabel *text(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(objectName);
    return label;
}

QLabel *wrappedText(const QString &objectName, const QString &caption, QWidget *parent)
{
    QLabel *label = text(objectName, caption, parent);
    label->setWordWrap(true);
    return label;
}

// A label that names its control for screen readers.
QLabel *labelFor(QWidget *buddy, const QString &caption, QWidget *parent)
{
    QLabel *label = text(buddy->objectName() + QStringLiteral("Label"), caption, parent);
    label->setBuddy(buddy);
    return label;
}

QLineEdit *textBox(const QString &objectName, const QString &tip, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setToolTip(tip);
    // QLineEdit cuts text at 32767 characters unless told otherwise.
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

QLineEdit *displayBox(const QString &objectName, const QString &tip, QWidget *parent)
{
    QLineEdit *box = textBox(objectName, tip, parent);
    box->setReadOnly(true);
    quicksetup::showWholeTextWhenClipped(box);
    return box;
}

QPushButton *button(const QString &objectName, const QString &caption, const QString &tip, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}


QComboBox *comboBox(const QString &objectName, const QStringList &items, const QString &tip, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(objectName);
    combo->addItems(items);
    combo->setToolTip(tip);
    return combo;
}



QHBoxLayout *rightAligned(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    return row;
}

MaskedHexEdit *maskedBox(const QString &objectName, int pairs, const QString &tip, QWidget *parent)
{
    auto *box = new MaskedHexEdit(pairs, parent);
    box->setObjectName(objectName);
    box->setToolTip(tip);
    return box;
}

}  // namespace

void FrmMain2::buildWindow()
{
    setObjectName(QStringLiteral("FrmMain2"));
    setWindowTitle(QStringLiteral("Corvane Access Point SNMP Manager"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.png")));

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildStatusTab(), QStringLiteral("Status"));
    SSTab1->addTab(buildBasicTab(), QStringLiteral("Basic Setting"));
    SSTab1->addTab(buildAdvancedTab(), QStringLiteral("Advanced"));
    SSTab1->addTab(buildIPTab(), QStringLiteral("IP Setting"));
    SSTab1->addTab(buildWEPTab(), QStringLiteral("WEP"));
    SSTab1->addTab(buildAboutTab(), QStringLiteral("About"));
    // Six captions side by side in the window's width, none cut or scrolled away.
    SSTab1->setUsesScrollButtons(false);
    auto *compact = new CompactTabs;
    compact->setParent(SSTab1->tabBar());
    SSTab1->tabBar()->setStyle(compact);

    cmdConn = button(QStringLiteral("cmdConn"), QStringLiteral("Reconnect"),
                     QStringLiteral("Reestablish connection to the Access Point"), this);
    cmdOK = button(QStringLiteral("cmdOK"), QStringLiteral("OK"), QString(), this);
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("Close"), QStringLiteral("Close the SNMP manager"), this);
    cmdHelp = button(QStringLiteral("cmdHelp"), QStringLiteral("Help"), QString(), this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(SSTab1);
    layout->addLayout(rightAligned({cmdConn, cmdOK, cmdCancel, cmdHelp}));
}

QWidget *FrmMain2::buildStatusTab()
{
    auto *page = new QWidget;
    txtStatus = displayBox(QStringLiteral("txtStatus"), QStringLiteral("Display Current Connection status"), page);
    txtFirmVer = displayBox(QStringLiteral("txtFirmVer"), QStringLiteral("Display Current Firmware Version"), page);
    txtDomain = displayBox(QStringLiteral("txtDomain"), QString(), page);
    txtESSID = displayBox(QStringLiteral("txtESSID"),
                          QStringLiteral("Display Current Extended Service Set Identification"), page);
    txtChannel = displayBox(QStringLiteral("txtChannel"), QStringLiteral("Display Current Access Point Radio Channel"), page);
    txtWEP = displayBox(QStringLiteral("txtWEP"), QStringLiteral("Display Current Wired Equivalent Privacy Status"), page);
    EthernetAddressMaskEdBox = maskedBox(QStringLiteral("EthernetAddressMaskEdBox"), kMacPairs,
                                         QStringLiteral("Display Current Access Point Ethernet Address"), page);
    EthernetAddressMaskEdBox->setReadOnly(true);
    DefaultCommand = button(QStringLiteral("DefaultCommand"), QStringLiteral("Restore Defaults"), QString(), page);

    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    const std::pair<QWidget *, QString> rows[] = {
        {txtStatus, QStringLiteral("Working Status")}, {txtFirmVer, QStringLiteral("Firmware Version")},
        {txtDomain, QStringLiteral("Domain")},         {txtESSID, QStringLiteral("ESSID")},
        {txtChannel, QStringLiteral("Channel")},       {txtWEP, QStringLiteral("WEP")},
        {EthernetAddressMaskEdBox, QStringLiteral("Ethernet Address")},
    };
    int row = 0;
    for (const auto &[box, caption] : rows) {
        grid->addWidget(labelFor(box, caption, page), row, 0);
        grid->addWidget(box, row++, 1);
    }
    grid->setRowStretch(row++, 1);
    grid->addLayout(rightAligned({DefaultCommand}), row, 0, 1, 2);
    return page;
}

QWidget *FrmMain2::buildBasicTab()
{
    auto *page = new QWidget;
    Label30 = text(QStringLiteral("Label30"), QStringLiteral("Warning :"), page);
    Label29 = wrappedText(QStringLiteral("Label29"),
                          QStringLiteral("The settings below have been auto-detected by your Wireless Access Point, "
                                         "any changes to the values below will alter your current Wireless Network "
                                         "Configuration."),
                          page);
    ChannelCombo = comboBox(QStringLiteral("ChannelCombo"), {}, QStringLiteral("Enter the radio channel from 1 to 11"), page);
    ESSIDtext = textBox(QStringLiteral("ESSIDtext"),
                        QStringLiteral("Enter a unique name for Extended Service Set Identification"), page);
    RTSThresholdText = textBox(QStringLiteral("RTSThresholdText"), QString(), page);
    UpDown2 = new UpDownControl(RTSThresholdText, config::kThresholdMinimum, config::kThresholdMaximum, page);
    UpDown2->setObjectName(QStringLiteral("UpDown2"));
    FragmentationThresholdText = textBox(QStringLiteral("FragmentationThresholdText"), QString(), page);
    UpDown1 = new UpDownControl(FragmentationThresholdText, config::kThresholdMinimum, config::kThresholdMaximum, page);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    BC_OKCommand = button(QStringLiteral("BC_OKCommand"), QStringLiteral("Apply"), kApplyTip, page);
    BC_CancelCommand = button(QStringLiteral("BC_CancelCommand"), QStringLiteral("Cancel"), QString(), page);

    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    grid->addWidget(Label30, 0, 0, Qt::AlignTop);
    grid->addWidget(Label29, 0, 1);
    grid->addWidget(labelFor(ChannelCombo, QStringLiteral("Channel"), page), 1, 0);
    grid->addWidget(ChannelCombo, 1, 1);
    grid->addWidget(labelFor(ESSIDtext, QStringLiteral("Workgroup(ESSID)"), page), 2, 0);
    grid->addWidget(ESSIDtext, 2, 1);
    grid->addWidget(labelFor(RTSThresholdText, QStringLiteral("RTS Threshold"), page), 3, 0);
    grid->addLayout(dialogparts::withUpDown(RTSThresholdText, UpDown2), 3, 1);
    grid->addWidget(labelFor(FragmentationThresholdText, QStringLiteral("Fragmentation Threshold"), page), 4, 0);
    grid->addLayout(dialogparts::withUpDown(FragmentationThresholdText, UpDown1), 4, 1);
    grid->setRowStretch(5, 1);
    grid->addLayout(rightAligned({BC_OKCommand, BC_CancelCommand}), 6, 0, 1, 2);
    return page;
}

QWidget *FrmMain2::buildAdvancedTab()
{
    auto *page = new QWidget;
    Label28 = wrappedText(QStringLiteral("Label28"),
                          QStringLiteral("Please consult your MIS or network administrator before making any changes "
                                         "in the fields below. Please look in your wireless Access Point User Guide "
                                         "for further information."),
                          page);
    ShortPreambleOption = dialogparts::option(QStringLiteral("ShortPreambleOption"), QStringLiteral("Short Preamble"), page,
                                 QStringLiteral("Select for short packet header"));
    LongPreambleOption = dialogparts::option(QStringLiteral("LongPreambleOption"), QStringLiteral("Long Preamble"), page,
                                QStringLiteral("Select for long packet header (Default)"));
    OpenSystemOption = dialogparts::option(QStringLiteral("OpenSystemOption"), QStringLiteral("Open System"), page,
                              QStringLiteral("Select Open System enabled for mobile station"));
    SharedKeyOption = dialogparts::option(QStringLiteral("SharedKeyOption"), QStringLiteral("Shared Key"), page,
                             QStringLiteral("Select Shared Key enabled using WEP key information defined"));
    BothTypeOption = dialogparts::option(QStringLiteral("BothTypeOption"), QStringLiteral("Both"), page,
        QStringLiteral("Select to use both the Open System and Shared Key authentication type (Default)"));
    BasicRates125511Option = dialogparts::option(QStringLiteral("BasicRates125511Option"), QStringLiteral("1 - 2 - 5.5 - 11(Mbps)"), page,
                                    QStringLiteral("Select for 1-2 - 5.5 - 11(Mbps) transfer rate (Default)"));
    BasicRates12Option = dialogparts::option(QStringLiteral("BasicRates12Option"), QStringLiteral("1 - 2 (Mbps)"), page,
                                QStringLiteral("Select for 1-2 (Mbps) transfer rate"));
    Frame1 = dialogparts::optionFrame(QStringLiteral("Frame1"), QStringLiteral("Preamble Type"),
                         {ShortPreambleOption, LongPreambleOption}, page);
    Frame2 = dialogparts::optionFrame(QStringLiteral("Frame2"), QStringLiteral("Authentication Type"),
                         {OpenSystemOption, SharedKeyOption, BothTypeOption}, page);
    Frame3 = dialogparts::optionFrame(QStringLiteral("Frame3"), QStringLiteral("Basic Rates"),
                         {BasicRates125511Option, BasicRates12Option}, page);
    AutoRateFallBackCheck = new QCheckBox(QStringLiteral("Auto Rate Fall Back"), page);
    AutoRateFallBackCheck->setObjectName(QStringLiteral("AutoRateFallBackCheck"));
    AutoRateFallBackCheck->setToolTip(QStringLiteral("Automatically adjust data rate (Default)"));
    BC1_OKCommand = button(QStringLiteral("BC1_OKCommand"), QStringLiteral("Apply"), kApplyTip, page);
    AC_CancelCommand = button(QStringLiteral("AC_CancelCommand"), QStringLiteral("Cancel"), QString(), page);

    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    grid->addWidget(Label28, 0, 0, 1, 2);
    grid->addWidget(Frame1, 1, 0);
    grid->addWidget(Frame3, 1, 1);
    grid->addWidget(Frame2, 2, 0);
    grid->addWidget(AutoRateFallBackCheck, 2, 1, Qt::AlignTop);
    grid->setRowStretch(3, 1);
    grid->addLayout(rightAligned({BC1_OKCommand, AC_CancelCommand}), 4, 0, 1, 2);
    return page;
}

QWidget *FrmMain2::buildIPTab()
{
    auto *page = new QWidget;
    Label24 = wrappedText(QStringLiteral("Label24"),
                          QStringLiteral("You need to specify an IP address for internet access, ask your network "
                                         "administrator or service provider for an IP address, and then type it in "
                                         "the space below."),
                          page);
    Frame4 = new QGroupBox(QStringLiteral("IP Setting"), page);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    IPAddressText = textBox(QStringLiteral("IPAddressText"), QStringLiteral("Enter Access Point IP Address"), Frame4);
    IPMaskText = textBox(QStringLiteral("IPMaskText"), QStringLiteral("Enter Access Point IP Mask"), Frame4);
    auto *frameGrid = new QGridLayout(Frame4);
    frameGrid->addWidget(labelFor(IPAddressText, QStringLiteral("IP Address"), Frame4), 0, 0);
    frameGrid->addWidget(IPAddressText, 0, 1);
    frameGrid->addWidget(labelFor(IPMaskText, QStringLiteral("IP Mask"), Frame4), 1, 0);
    frameGrid->addWidget(IPMaskText, 1, 1);
    AC_OKCommand = button(QStringLiteral("AC_OKCommand"), QStringLiteral("Apply"), kApplyTip, page);
    EN_CancelCommand = button(QStringLiteral("EN_CancelCommand"), QStringLiteral("Cancel"), QString(), page);

    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->addWidget(Label24);
    column->addWidget(Frame4);
    column->addStretch();
    column->addLayout(rightAligned({AC_OKCommand, EN_CancelCommand}));
    return page;
}

QWidget *FrmMain2::buildWEPTab()
{
    auto *page = new QWidget;
    Label8 = text(QStringLiteral("Label8"), QStringLiteral("WEP (ON/OFF)"), page);
    WepEnableCombo = comboBox(QStringLiteral("WepEnableCombo"), {QStringLiteral("Enable"), QStringLiteral("Disable")},
                              QStringLiteral("Enable or Disable Wired Equivalent Privacy"), page);
    Label8->setBuddy(WepEnableCombo);

    Frame5 = new QGroupBox(QStringLiteral("WEP Key Setting"), page);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    DefaultWepKeyIDCombo = comboBox(QStringLiteral("DefaultWepKeyIDCombo"),
                                    {QStringLiteral("Key 1"), QStringLiteral("Key 2"), QStringLiteral("Key 3"),
                                     QStringLiteral("Key 4"), QStringLiteral("None")},
                                    QStringLiteral("Select key number to use for Wired Equivalent privacy"), Frame5);
    MaskedHexEdit **keys[] = {&DefaultWepKey1, &DefaultWepKey2, &DefaultWepKey3, &DefaultWepKey4};
    for (int i = 0; i < 4; ++i) {
        *keys[i] = maskedBox(QStringLiteral("DefaultWepKey%1").arg(i + 1), kKeyPairs,
                             QStringLiteral("Enter a unique number or use Passphrase prompt to generate the unique "
                                            "number for key %1")
                                 .arg(i + 1),
                             Frame5);
    }
    PassText = textBox(QStringLiteral("PassText"), QStringLiteral("Enter a uniqe name to generate key 1,2,3 and 4"), Frame5);
    PassText->setText(QStringLiteral("****"));
    DoneCommand = button(QStringLiteral("DoneCommand"), QStringLiteral("Done"), QStringLiteral("Generate WEP key"), Frame5);

    // Keys in two columns, so the tab fits the window's height.
    auto *frameGrid = new QGridLayout(Frame5);
    frameGrid->setHorizontalSpacing(4);
    frameGrid->addWidget(labelFor(DefaultWepKeyIDCombo, QStringLiteral("Default key"), Frame5), 0, 0);
    frameGrid->addWidget(DefaultWepKeyIDCombo, 0, 1);
    for (int i = 0; i < 4; ++i) {
        const int row = 1 + i / 2;
        const int column = 2 * (i % 2);
        frameGrid->addWidget(labelFor(*keys[i], QStringLiteral("Key %1").arg(i + 1), Frame5), row, column);
        frameGrid->addWidget(*keys[i], row, column + 1);
    }
    frameGrid->addWidget(labelFor(PassText, QStringLiteral("Passphrase"), Frame5), 3, 0);
    frameGrid->addWidget(PassText, 3, 1, 1, 2);
    frameGrid->addWidget(DoneCommand, 3, 3);

    Label23 = text(QStringLiteral("Label23"), QStringLiteral("Warning :"), page);
    Label22 = wrappedText(QStringLiteral("Label22"),
                          QStringLiteral("Your encryption settings must match those of your network, or your Acccess "
                                         "Point will not be able to communicate with the client user."),
                          page);
    EN1_OKCommand = button(QStringLiteral("EN1_OKCommand"), QStringLiteral("Apply"), kApplyTip, page);

    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    grid->addWidget(Label8, 0, 0);
    grid->addWidget(WepEnableCombo, 0, 1, Qt::AlignLeft);
    grid->addWidget(Frame5, 1, 0, 1, 2);
    grid->addWidget(Label23, 2, 0, Qt::AlignTop);
    grid->addWidget(Label22, 2, 1);
    grid->setRowStretch(3, 1);
    grid->addLayout(rightAligned({EN1_OKCommand}), 4, 0, 1, 2);
    return page;
}

QWidget *FrmMain2::buildAboutTab()
{
    auto *page = new QWidget;
    auto *icon = text(QStringLiteral("AboutIcon"), QString(), page);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/app.png")).pixmap(48, 48));
    auto *product = text(QStringLiteral("AboutProduct"), quicksetup::about::product, page);
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    auto *date = text(QStringLiteral("AboutDate"), quicksetup::about::date, page);
    auto *legal = wrappedText(QStringLiteral("AboutLegalNotice"), quicksetup::about::legalNotice(), page);
    auto *support = wrappedText(QStringLiteral("AboutSupport"), quicksetup::about::support, page);
    for (QLabel *label : {legal, support})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *heading = new QGridLayout;
    heading->addWidget(icon, 0, 0, 2, 1);
    heading->addWidget(product, 0, 1);
    heading->addWidget(date, 1, 1);
    heading->setColumnStretch(1, 1);
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->addLayout(heading);
    column->addWidget(legal);
    column->addWidget(support);
    column->addStretch();
    return page;
}
