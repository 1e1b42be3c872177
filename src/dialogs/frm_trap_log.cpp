#include "dialogs/frm_trap_log.h"
#include "widgets/accessibility.h"

#include "traps/trap_reception.h"

#include <QCloseEvent>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {
// The button's band at the bottom: 300 twips, and never less than the
// button needs for its caption.
constexpr int kBandTwips = 300;
constexpr int kTwipsPerInch = 1440;

const QLatin1String kEntryStart("Trap received @ ");

// The log's entries, each beginning with its "Trap received @" line.
QStringList entriesOf(const QString &log)
{
    QStringList entries;
    qsizetype start = 0;
    while (start < log.size()) {
        qsizetype next = log.indexOf(QLatin1String("\r\n") + kEntryStart, start);
        next = next < 0 ? log.size() : next + 2;
        entries << log.mid(start, next - start);
        start = next;
    }
    return entries;
}

// The text box makes each CR LF one line break.
QString asShown(QString entry)
{
    return entry.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}
}  // namespace

frmTrapLog::frmTrapLog(traps::TrapReception &log, QWidget *parent)
    : QWidget(parent), txtTrapLog(new QPlainTextEdit(this)), ClearCommand(new QPushButton(this)), log_(log)
{
    widgets::makeAccessible(this);
    setObjectName(QStringLiteral("frmTrapLog"));
    setWindowTitle(QStringLiteral(" Trap Recorder"));
    setAttribute(Qt::WA_DeleteOnClose);

    txtTrapLog->setObjectName(QStringLiteral("txtTrapLog"));
    txtTrapLog->setReadOnly(true);
    txtTrapLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtTrapLog->setUndoRedoEnabled(false);  // nothing to undo; it would only grow
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
    for (const QString &entry : entriesOf(log_.TrapLog))
        take(entry);
    connect(&log_, &traps::TrapReception::entryLogged, this, &frmTrapLog::take);
    showLog();
    Timer1.setInterval(1000);
    Timer1.start();
}

void frmTrapLog::Timer1_Timer()
{
    showLog();
}

void frmTrapLog::take(const QString &entry)
{
    waiting_ << asShown(entry);
    waitingChars_ += waiting_.constLast().size();
    // A flood between two refreshes: only what the window would keep waits.
    while (waitingChars_ > kShownLimit && waiting_.size() > 1)
        waitingChars_ -= waiting_.takeFirst().size();
}

void frmTrapLog::showLog()
{
    if (waiting_.isEmpty())
        return;
    QScrollBar *bar = txtTrapLog->verticalScrollBar();
    const bool atBottom = bar->value() == bar->maximum();
    const int place = bar->value();

    QTextCursor cursor(txtTrapLog->document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(waiting_.join(QString()));
    for (const QString &entry : std::as_const(waiting_))
        shownEntries_ << entry.size();
    shownChars_ += waitingChars_;
    waiting_.clear();
    waitingChars_ = 0;

    // The oldest whole entries leave; the newest always stays.
    qsizetype cut = 0;
    int entriesCut = 0;
    while (shownChars_ - cut > kShownLimit && entriesCut < shownEntries_.size() - 1)
        cut += shownEntries_[entriesCut++];
    int linesCut = 0;
    if (cut > 0) {
        // Scrolling counts the lines on screen, wrapped ones included.
        const QTextBlock firstKept = txtTrapLog->document()->findBlock(int(cut));
        for (QTextBlock block = txtTrapLog->document()->begin(); block.isValid() && block != firstKept;
             block = block.next())
            linesCut += qMax(1, block.lineCount());
        cursor.setPosition(0);
        cursor.setPosition(int(cut), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        shownEntries_.remove(0, entriesCut);
        shownChars_ -= cut;
    }
    cursor.endEditBlock();

    // The reader stays at the bottom, or on the lines they were reading.
    bar->setValue(atBottom ? bar->maximum() : qMax(0, place - linesCut));
}

void frmTrapLog::ClearCommand_Click()
{
    txtTrapLog->clear();
    waiting_.clear();
    waitingChars_ = 0;
    shownEntries_.clear();
    shownChars_ = 0;
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
