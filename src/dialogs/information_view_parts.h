#pragma once
// Builders shared by the information views: locked boxes that show a
// counter or a text from the store, each with its caption beside it, and
// the single OK row that closes a view.

#include <QString>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace viewparts {

// One counter on screen: its box's object name and its caption.
struct CounterCell {
    const char *box;
    const char *caption;
};

// A read-only box; its caption's label names it (dialogparts::label).
QLineEdit *lockedBox(const QString &objectName, QWidget *parent);

// The counter views show up to 30 counters with their captions; in a font
// one point smaller than the application's they fit the main window's
// default size.
void useCompactFont(QWidget *view);
// How wide a caption may be before it wraps, in the widget's font.
int captionWidth(const QWidget *view);

// A locked box sized for any unsigned 32-bit counter, right-aligned, with
// its caption to its left at (row, column) and (row, column + 1) of `grid`.
// A caption wider than `captionWidth` wraps onto more lines, all shown.
QLineEdit *addCounterRow(QGridLayout *grid, int row, int column, const CounterCell &cell, int captionWidth,
                         QWidget *parent);

// "OKCommand", the default button, at the right of its own row.
QPushButton *okButton(QWidget *parent);

// Rows close together: the views show many of them at the main window's
// default size.
void tighten(QGridLayout *grid);

}  // namespace viewparts
