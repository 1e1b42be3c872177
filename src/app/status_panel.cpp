#include "status_panel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace app {

StatusPanel::StatusPanel(QWidget *parent) : QFrame(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    shown_.setTextFormat(Qt::PlainText);
    shown_.setPerformanceHint(QStaticText::AggressiveCaching);
}

void StatusPanel::setText(const QString &text)
{
    if (text == text_)
        return;
    text_ = text;
    shown_.setText(text);
    update();
}

QSize StatusPanel::sizeHint() const
{
    // Room for a short message; the bar's stretch gives it the rest.
    const QFontMetrics metrics(font());
    return {metrics.averageCharWidth() * 20 + 2 * frameWidth(), metrics.height() + 2 * frameWidth() + 2};
}

QSize StatusPanel::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void StatusPanel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(2, 0, -2, 0);
    painter.setClipRect(area);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const qreal top = area.top() + (area.height() - shown_.size().height()) / 2;
    painter.drawStaticText(QPointF(area.left(), top), shown_);
}

void StatusPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        shown_.prepare(QTransform(), font());
    QFrame::changeEvent(event);
}

}  // namespace app
