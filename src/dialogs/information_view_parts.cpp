#include "dialogs/information_view_parts.h"

#include "widgets/dialog_parts.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace viewparts {

QLineEdit *lockedBox(const QString &objectName, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setReadOnly(true);
    return box;
}

void useCompactFont(QWidget *view)
{
    QFont font = view->font();
    font.setPointSizeF(font.pointSizeF() - 1);
    view->setFont(font);
}

int captionWidth(const QWidget *view)
{
    // Most captions fit on one line, and two columns of caption and box
    // stay narrower than the main window's default size; longer captions
    // wrap between words.
    return 16 * view->fontMetrics().horizontalAdvance(QLatin1Char('0'));
}

QLineEdit *addCounterRow(QGridLayout *grid, int row, int column, const CounterCell &cell, int captionWidth,
                         QWidget *parent)
{
    QLineEdit *box = lockedBox(QLatin1String(cell.box), parent);
    QLabel *label =
        dialogparts::label(QLatin1String(cell.box) + QStringLiteral("Label"), QLatin1String(cell.caption), box, parent);
    label->setWordWrap(true);
    label->setFixedWidth(captionWidth);
    // Every line of a wrapped caption, whatever height the row would get.
    label->setMinimumHeight(label->heightForWidth(captionWidth));
    box->setAlignment(Qt::AlignRight);
    // The widest counter, 4294967295, shown whole; no taller than its text
    // and frame, so that 16 rows fit the main window's default size.
    const int frame = 2 * box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("4294967295")) + frame + 4);
    box->setFixedHeight(box->fontMetrics().height() + frame);
    grid->addWidget(label, row, column);
    grid->addWidget(box, row, column + 1);
    return box;
}

QPushButton *okButton(QWidget *parent)
{
    auto *ok = new QPushButton(QStringLiteral("OK"), parent);
    ok->setObjectName(QStringLiteral("OKCommand"));
    ok->setDefault(true);
    return ok;
}

void tighten(QGridLayout *grid)
{
    grid->setVerticalSpacing(1);
    grid->setHorizontalSpacing(4);
}

}  // namespace viewparts
