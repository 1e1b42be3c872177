#include "status_panel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace app {

namespace {

class StatusPanelAccessible : public QAccessibleWidget {
public:
    explicit StatusPanelAccessible(StatusPanel *panel) : QAccessibleWidget(panel, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override
    {
        switch (kind) {
        case QAccessible::Name: return panel()->text();
        case QAccessible::Description: return QStringLiteral("Status line; press for the last messages");
        default: return QAccessibleWidget::text(kind);
        }
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            emit panel()->activated();
    }

private:
    StatusPanel *panel() const { return static_cast<StatusPanel *>(widget()); }
};

}  // namespace

QAccessibleInterface *StatusPanel::accessibleFor(const QString &className, QObject *object)
{
    if (className == QLatin1String(StatusPanel::staticMetaObject.className()) && object && object->isWidgetType())
        return new StatusPanelAccessible(static_cast<StatusPanel *>(object));
    return nullptr;
}

StatusPanel::StatusPanel(QWidget *parent) : QFrame(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(&StatusPanel::accessibleFor);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setCursor(Qt::PointingHandCursor);
    shown_.setTextFormat(Qt::PlainText);
    shown_.setPerformanceHint(QStaticText::AggressiveCaching);
}

void StatusPanel::setText(const QString &text)
{
    if (text == text_)
        return;
    text_ = text;
    shownWidth_ = -1;
    update();
    // Screen readers learn of it; with none listening this costs nothing.
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

QRect StatusPanel::textArea() const
{
    return contentsRect().adjusted(2, 0, -2, 0);
}

void StatusPanel::prepareShown() const
{
    // Measured only when drawn (at most once a frame), not per message.
    const int width = textArea().width();
    if (shownWidth_ == width)
        return;
    shownWidth_ = width;
    shown_.setText(fontMetrics().elidedText(text_, Qt::ElideRight, qMax(0, width)));
}

QString StatusPanel::shownText() const
{
    prepareShown();
    return shown_.text();
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
    prepareShown();
    QPainter painter(this);
    const QRect area = textArea();
    painter.setClipRect(area);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const qreal top = area.top() + (area.height() - shown_.size().height()) / 2;
    painter.drawStaticText(QPointF(area.left(), top), shown_);
}

void StatusPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        shownWidth_ = -1;
        shown_.prepare(QTransform(), font());
    }
    QFrame::changeEvent(event);
}

void StatusPanel::resizeEvent(QResizeEvent *event)
{
    shownWidth_ = -1;
    QFrame::resizeEvent(event);
}

void StatusPanel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit activated();
    QFrame::mouseReleaseEvent(event);
}

}  // namespace app
