#pragma once
// Controls both radio windows build the same way.

#include <QString>
#include <QStringList>
#include <QVector>

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace radiotest {

// An array of option buttons named "<arrayName>(0)", "<arrayName>(1)", ...,
// of which one at most is selected. Tab lands on the selected option (on the
// first when none is) and the arrow keys move within the array; a screen
// reader hears the array's label before each caption.
QVector<QRadioButton *> optionArray(const QString &arrayName, const QString &label, const QStringList &captions,
                                    QWidget *parent);
// The index of the selected option, or -1.
int selectedIndex(const QVector<QRadioButton *> &options);

// A named button that Enter in a box never presses: Enter must not start,
// end or send anything to the radio.
QPushButton *commandButton(const QString &objectName, const QString &caption, QWidget *parent);

// A read-only text box used as the window's status line; a text too long
// for it is shown whole in its tooltip.
QLineEdit *statusLine(QWidget *parent);
void showStatus(QLineEdit *statusLine, const QString &text);

}  // namespace radiotest
