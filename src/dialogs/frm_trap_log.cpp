#include "dialogs/frm_trap_log.h"

#include "traps/trap_reception.h"

#include <QCloseEvent>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {
// The button's band at the bottom: 300 twips, and never less than the
// button needs for its caption.
constexpr int kBandTwips = 300;
constexpr int kTwipsPerInch = 1440;
}  // namespace

frmTrapLog::frmTrapLog(traps::TrapReception &log, QWidget *parent)
    : QWidget(parent), txtTrapLog(new QPlainTextEdit(this)), ClearCommand(new QPushButton(this)), log_(log)
{
    setObjectName(QStringLiteral("frmTrapLog"));
    setWindowTitle(QStringLiteral(" Trap Recorder"));
    setAttribute(Qt::WA_DeleteOnClose);

    txtTrapLog->setObjectName(QStringLiteral("txtTrapLog"));
    txtTrapLog->setReadOnly(true);
    txtTrapLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtTrapLog->setAccessibleName(QStringLiteral("Trap log"));
    const QString file = QDir::toNativeSeparators(log_.logFilePath());
    txtTrapLog->setToolTip(QStringLiteral("Trap log file: %1").arg(file));
    txtTrapLog->setAccessibleDescription(QStringLiteral("Received traps; also written to %1").arg(file));

    ClearCommand->setObjectName(QStringLiteral("ClearCommand"));
    ClearCommand->setText(QStringLiteral("Clear all"));
    connect(ClearCommand, &QPushButton::clicked, this, &frmTrapLog::ClearCommand_Click);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&Timer1, &QTimer::timeout, this, &frmTrapLog::Timer1_Timer);

    Form_Load();
}

QSize frmTrapLog::sizeHint() const
{
    return QSize(400, 260);
}

void frmTrapLog::Form_Load()
{
    showLog();
    Timer1.setInterval(1000);
    Timer1.start();
}

void frmTrapLog::Timer1_Timer()
{
    showLog();
}

void frmTrapLog::showLog()
{
    // Replacing an unchanged text would only throw away the reader's
    // place and selection.
    if (shown_ == log_.TrapLog)
        return;
    shown_ = log_.TrapLog;
    txtTrapLog->setPlainText(shown_);
    txtTrapLog->verticalScrollBar()->setValue(txtTrapLog->verticalScrollBar()->maximum());
}

void frmTrapLog::ClearCommand_Click()
{
    txtTrapLog->clear();
    shown_.clear();
    log_.TrapLog.clear();
}

void frmTrapLog::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmTrapLog::Form_Resize()
{
    const int band = qMax(kBandTwips * logicalDpiY() / kTwipsPerInch, ClearCommand->sizeHint().height());
    const int width = this->width();
    const int height = this->height();
    if (isMinimized() || width <= 0 || height < band)
        return;
    txtTrapLog->setGeometry(0, 0, width, height - band);
    ClearCommand->setGeometry(0, height - band, width, band);
}

void frmTrapLog::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmTrapLog::Form_Unload()
{
    Timer1.stop();
    emit unloaded();
}
