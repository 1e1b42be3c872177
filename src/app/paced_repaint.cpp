#include "paced_repaint.h"

#include <QWidget>

namespace app {

PacedRepaint::PacedRepaint(QWidget *widget, int frameMs) : QObject(widget), widget_(widget)
{
    nextFrame_.setSingleShot(true);
    nextFrame_.setInterval(frameMs);
    connect(&nextFrame_, &QTimer::timeout, this, &PacedRepaint::resume);
}

void PacedRepaint::aboutToChange()
{
    if (!widget_ || nextFrame_.isActive())
        return;  // the frame's repaint is already due
    if (!sinceResumed_.isValid() || sinceResumed_.elapsed() >= nextFrame_.interval()) {
        sinceResumed_.start();  // a first change in a while shows at once
        return;
    }
    widget_->setUpdatesEnabled(false);
    nextFrame_.start();
}

void PacedRepaint::resume()
{
    if (!widget_)
        return;
    widget_->setUpdatesEnabled(true);  // repaints what the widget holds now
    sinceResumed_.start();
}

}  // namespace app
