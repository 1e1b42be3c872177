#pragma once
// Small builders for the controls that every settings dialog has.

#include <QList>
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

// A red frame and a tooltip on a box whose text OK refused; the box's
// "refused" property is true while the mark stands.
void markRefused(QLineEdit *box, const QString &hint);
void clearRefusedMark(QLineEdit *box);

}  // namespace dialogparts
