#include "dialogs/dialog_parts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
}

void markRefused(QLineEdit *box, const QString &hint)
{
    box->setProperty(kRefusedProperty, true);
    box->setStyleSheet(QStringLiteral("QLineEdit { border: 2px solid #d00000; }"));
    box->setToolTip(hint);
}

void clearRefusedMark(QLineEdit *box)
{
    if (!box->property(kRefusedProperty).toBool())
        return;
    box->setProperty(kRefusedProperty, false);
    box->setStyleSheet(QString());
}

}  // namespace dialogparts
