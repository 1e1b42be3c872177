#include "radiotest/radio_window_parts.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace radiotest {

namespace {

// Only the selected option (or the first, when none is) is a Tab stop;
// the others take the focus from a click or an arrow key.
void updateTabStop(const QVector<QRadioButton *> &options)
{
    const int selected = selectedIndex(options);
    for (int i = 0; i < options.size(); ++i)
        options[i]->setFocusPolicy(i == qMax(0, selected) ? Qt::StrongFocus : Qt::ClickFocus);
}

}  // namespace

QVector<QRadioButton *> optionArray(const QString &arrayName, const QString &label, const QStringList &captions,
                                    QWidget *parent)
{
    auto *group = new QButtonGroup(parent);
    QVector<QRadioButton *> options;
    for (int i = 0; i < captions.size(); ++i) {
        auto *option = new QRadioButton(captions[i], parent);
        option->setObjectName(QStringLiteral("%1(%2)").arg(arrayName).arg(i));
        option->setAccessibleName(label + QLatin1Char(' ') + captions[i]);
        group->addButton(option, i);
        options << option;
    }
    QObject::connect(group, &QButtonGroup::buttonToggled, group, [options] { updateTabStop(options); });
    updateTabStop(options);
    return options;
}

int selectedIndex(const QVector<QRadioButton *> &options)
{
    for (int i = 0; i < options.size(); ++i) {
        if (options[i]->isChecked())
            return i;
    }
    return -1;
}

QPushButton *commandButton(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

QLineEdit *statusLine(QWidget *parent)
{
    auto *line = new QLineEdit(parent);
    line->setObjectName(QStringLiteral("StatusBar"));
    line->setReadOnly(true);
    line->setFocusPolicy(Qt::ClickFocus);
    line->setAccessibleName(QStringLiteral("Status"));
    return line;
}

void showStatus(QLineEdit *statusLine, const QString &text)
{
    statusLine->setText(text);
    statusLine->setCursorPosition(0);
    // Shown whole when the box clips it.
    statusLine->setToolTip(text);
}

}  // namespace radiotest
