#include "widgets/dialog_parts.h"

#include "widgets/option_group_tab_stop.h"
#include "widgets/up_down_control.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <limits>

namespace dialogparts {

QLabel *label(const QString &objectName, const QString &caption, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(objectName);
    label->setBuddy(buddy);
    return label;
}

QLineEdit *unlimitedTextBox(const QString &objectName, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(objectName);
    // QLineEdit cuts text at 32767 characters unless told otherwise.
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

QRadioButton *option(const QString &objectName, const QString &caption, QWidget *parent, const QString &toolTip)
{
    auto *button = new QRadioButton(caption, parent);
    button->setObjectName(objectName);
    if (!toolTip.isEmpty())
        button->setToolTip(toolTip);
    return button;
}

QGroupBox *optionFrame(const QString &objectName, const QString &caption, const QList<QRadioButton *> &options,
                       QWidget *parent)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(objectName);
    auto *column = new QVBoxLayout(frame);
    QList<QAbstractButton *> group;
    for (QRadioButton *button : options) {
        button->setParent(frame);  // options in one frame exclude each other
        column->addWidget(button);
        group << button;
    }
    widgets::OptionGroupTabStop::install(group);
    return frame;
}

QHBoxLayout *withUpDown(QLineEdit *box, UpDownControl *upDown)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(box);
    row->addWidget(upDown);
    return row;
}

OkCancelRow okCancelButtons(QWidget *parent)
{
    OkCancelRow parts{new QHBoxLayout, new QPushButton(QStringLiteral("OK"), parent),
                      new QPushButton(QStringLiteral("Cancel"), parent)};
    parts.ok->setObjectName(QStringLiteral("OKCommand"));
    parts.ok->setDefault(true);
    parts.cancel->setObjectName(QStringLiteral("CancelCommand"));
    parts.row->addStretch();
    parts.row->addWidget(parts.ok);
    parts.row->addWidget(parts.cancel);
    return parts;
}

}  // namespace dialogparts

namespace dialogparts {

namespace {
const char kRefusedProperty[] = "refused";
const char kOwnTipProperty[] = "tipBeforeRefusal";
const char kWatchedProperty[] = "refusalWatched";
}

void markRefused(QLineEdit *box, const QString &hint)
{
    if (!box->property(kRefusedProperty).toBool())
        box->setProperty(kOwnTipProperty, box->toolTip());
    box->setProperty(kRefusedProperty, true);
    box->setStyleSheet(QStringLiteral("QLineEdit { border: 2px solid #d00000; }"));
    box->setToolTip(hint);
    box->setAccessibleDescription(hint);
    if (!box->property(kWatchedProperty).toBool()) {
        box->setProperty(kWatchedProperty, true);
        QObject::connect(box, &QLineEdit::textChanged, box, [box] { clearRefusedMark(box); });
    }
}

void clearRefusedMark(QLineEdit *box)
{
    if (!box->property(kRefusedProperty).toBool())
        return;
    box->setProperty(kRefusedProperty, false);
    box->setStyleSheet(QString());
    box->setToolTip(box->property(kOwnTipProperty).toString());
    box->setAccessibleDescription(QString());
}

QLineEdit *markRefusedBoxes(std::initializer_list<BoxCheck> checks)
{
    QLineEdit *first = nullptr;
    for (const BoxCheck &check : checks) {
        if (check.accepted) {
            clearRefusedMark(check.box);
            continue;
        }
        markRefused(check.box, check.hint);
        if (!first)
            first = check.box;
    }
    if (first) {
        first->setFocus();
        first->selectAll();
    }
    return first;
}

}  // namespace dialogparts
