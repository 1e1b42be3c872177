#include "widgets/up_down_control.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QToolButton *makeArrow(Qt::ArrowType arrow, const QString &name, const QString &spokenName, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAccessibleName(spokenName);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    // The pair of arrows shares the height of the box beside it.
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    return button;
}

}  // namespace

UpDownControl::UpDownControl(QLineEdit *buddy, int minimum, int maximum, QWidget *parent)
    : QWidget(parent),
      buddy_(buddy),
      minimum_(qMin(minimum, maximum)),
      maximum_(qMax(minimum, maximum)),
      value_(minimum_),
      upButton_(makeArrow(Qt::UpArrow, QStringLiteral("upArrow"), QStringLiteral("Up"), this)),
      downButton_(makeArrow(Qt::DownArrow, QStringLiteral("downArrow"), QStringLiteral("Down"), this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(upButton_);
    layout->addWidget(downButton_);
    setFixedHeight(buddy_->sizeHint().height());

    connect(upButton_, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(downButton_, &QToolButton::clicked, this, [this] { stepBy(-1); });
    connect(buddy_, &QLineEdit::textChanged, this, &UpDownControl::followBuddy);
    buddy_->installEventFilter(this);
    followBuddy(buddy_->text());
}

void UpDownControl::followBuddy(const QString &text)
{
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok);
    if (ok)
        value_ = int(std::clamp<qlonglong>(number, minimum_, maximum_));
}

void UpDownControl::stepBy(int steps)
{
    followBuddy(buddy_->text());
    value_ = int(std::clamp<qlonglong>(qlonglong(value_) + steps, minimum_, maximum_));
    buddy_->setText(QString::number(value_));
    emit stepped();
}

bool UpDownControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == buddy_ && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
