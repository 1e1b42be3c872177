#include "single_mdi_child.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace app {

int captionShortfall(const QMdiSubWindow *frame)
{
    // The title bar as QMdiSubWindow lays it out before it elides the caption.
    QStyle *style = frame->style();
    QStyleOptionTitleBar option;
    option.initFrom(frame);
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = frame->windowFlags();
    option.titleBarState = frame->windowState();
    option.icon = frame->windowIcon();
    option.text = frame->windowTitle();
    option.fontMetrics = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar"));
    const int border = style->styleHint(QStyle::SH_TitleBar_NoBorder, &option, frame) ? 0 : 4;
    const int height = style->pixelMetric(QStyle::PM_TitleBarHeight, &option, frame);
    option.rect = QRect(border, border, frame->width() - 2 * border, height);
    const int room = style->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarLabel, frame).width();
    // Styles keep a margin inside the label when they draw the caption
    // (Fusion elides it to the label's width less 14 pixels).
    constexpr int kDrawingMargin = 16;
    return qMax(0, option.fontMetrics.horizontalAdvance(option.text) + kDrawingMargin - room);
}

SingleMdiChild::SingleMdiChild(QMdiArea *area, Factory factory, QObject *parent)
    : QObject(parent), area_(area), factory_(std::move(factory))
{
}

bool SingleMdiChild::isOpen() const
{
    // A closed frame stays hidden until it is deleted; so does a child that
    // closed itself inside a frame that is not minimised.
    if (!frame_ || !child_ || frame_->isHidden())
        return false;
    return !child_->isHidden() || frame_->isMinimized();
}

QMdiSubWindow *SingleMdiChild::show()
{
    if (!isOpen()) {
        if (child_) {
            child_->removeEventFilter(this);
            disconnect(child_, nullptr, this, nullptr);
        }
        if (frame_)
            frame_->deleteLater();
        QWidget *child = factory_ ? factory_() : nullptr;
        if (!child)
            return nullptr;
        child_ = child;
        frame_ = area_->addSubWindow(child);
        frame_->setAttribute(Qt::WA_DeleteOnClose);
        frame_->setWindowTitle(child->windowTitle());
        child->installEventFilter(this);
        connect(child, &QObject::destroyed, this, &SingleMdiChild::scheduleCloseCheck);
        if (auto *dialog = qobject_cast<QDialog *>(child))
            connect(dialog, &QDialog::finished, this, &SingleMdiChild::scheduleCloseCheck);
    }
    if (frame_->isMinimized())
        frame_->showNormal();
    else
        frame_->show();
    // A caption cut short hides what the window is for.
    if (const int missing = captionShortfall(frame_)) {
        frame_->setMinimumWidth(frame_->width() + missing);
        frame_->resize(frame_->minimumWidth(), frame_->height());
    }
    child_->show();
    area_->setActiveSubWindow(frame_);
    frame_->raise();
    return frame_;
}

bool SingleMdiChild::eventFilter(QObject *watched, QEvent *event)
{
    // A close of the hosted window is only known to have happened once its
    // handler has run (it may refuse); look again when the event is done.
    if (watched == child_ && event->type() == QEvent::Close)
        scheduleCloseCheck();
    return QObject::eventFilter(watched, event);
}

void SingleMdiChild::scheduleCloseCheck()
{
    QMetaObject::invokeMethod(this, &SingleMdiChild::closeFrameIfChildGone, Qt::QueuedConnection);
}

void SingleMdiChild::closeFrameIfChildGone()
{
    if (!frame_)
        return;
    // Hidden by its own close(), accept() or reject(), as opposed to hidden
    // with its frame (minimised): then the frame has done its job.
    if (!isOpen())
        frame_->deleteLater();
}

}  // namespace app
