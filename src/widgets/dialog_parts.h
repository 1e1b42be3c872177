#pragma once
// Small builders for the controls that every settings dialog has.

#include <QList>
#include <initializer_list>
#include <QString>

class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;
class UpDownControl;

namespace dialogparts {

// A label that names `buddy` (for screen readers, and its access key).
QLabel *label(const QString &objectName, const QString &caption, QWidget *buddy, QWidget *parent);

// A text box with no length limit and no input filter.
QLineEdit *unlimitedTextBox(const QString &objectName, QWidget *parent);

// An option button, named, with an optional tooltip.
QRadioButton *option(const QString &objectName, const QString &caption, QWidget *parent,
                     const QString &toolTip = QString());

// A frame of options that exclude each other; Tab lands on the selected one.
QGroupBox *optionFrame(const QString &objectName, const QString &caption, const QList<QRadioButton *> &options,
                       QWidget *parent);

// A threshold box with its arrows right beside it.
QHBoxLayout *withUpDown(QLineEdit *box, UpDownControl *upDown);

struct OkCancelRow {
    QHBoxLayout *row;
    QPushButton *ok;      // "OKCommand", the default button
    QPushButton *cancel;  // "CancelCommand"
};
OkCancelRow okCancelButtons(QWidget *parent);

}  // namespace dialogparts

namespace dialogparts {

// A red frame on a box whose text OK refused, and the hint (what the box
// accepts) as its tooltip and its description for screen readers; the
// box's "refused" property is true while the mark stands. The mark goes,
// and the box's own tooltip comes back, as soon as its text changes.
void markRefused(QLineEdit *box, const QString &hint);
void clearRefusedMark(QLineEdit *box);

// One box and the device's verdict on its text.
struct BoxCheck {
    QLineEdit *box;
    bool accepted;
    QString hint;
};
// Marks every refused box (clears the others' marks) and puts the focus on
// the first refused one, its text selected; returns that box, or nullptr
// when none was refused.
QLineEdit *markRefusedBoxes(std::initializer_list<BoxCheck> checks);

}  // namespace dialogparts
