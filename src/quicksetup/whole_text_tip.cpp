#include "quicksetup/whole_text_tip.h"

#include <QEvent>
#include <QHelpEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>

namespace quicksetup {

namespace {

class WholeTextTip : public QObject {
public:
    explicit WholeTextTip(QLineEdit *box) : QObject(box), box_(box) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != box_ || event->type() != QEvent::ToolTip || !textIsClipped(box_))
            return QObject::eventFilter(watched, event);
        const QString own = box_->toolTip();
        const QString tip = own.isEmpty() ? box_->text() : box_->text() + QLatin1Char('\n') + own;
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), tip, box_);
        return true;
    }

private:
    QLineEdit *box_;
};

}  // namespace

bool textIsClipped(const QLineEdit *box)
{
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    const QRect textArea = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QMargins margins = box->textMargins();
    const int room = textArea.width() - margins.left() - margins.right() - 4;  // the box's own side spacing
    return box->fontMetrics().horizontalAdvance(box->text()) > room;
}

void showWholeTextWhenClipped(QLineEdit *box)
{
    box->installEventFilter(new WholeTextTip(box));
}

}  // namespace quicksetup
