#pragma once
// Two arrow buttons bound to a text box ("buddy") that step the whole number
// shown there by one, kept within a range. The buddy stays a plain text box:
// the control never limits what is typed into it. A step starts from the
// number the buddy shows; when it shows none, from the last number it did.
// The Up and Down keys in the buddy step as the arrows do.

#include <QWidget>

class QLineEdit;
class QToolButton;

class UpDownControl : public QWidget {
    Q_OBJECT

public:
    UpDownControl(QLineEdit *buddy, int minimum, int maximum, QWidget *parent = nullptr);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    QLineEdit *buddy() const { return buddy_; }

    void stepBy(int steps);

signals:
    // An arrow or an arrow key stepped the buddy (not typing into it).
    void stepped();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followBuddy(const QString &text);

    QLineEdit *buddy_;
    int minimum_;
    int maximum_;
    int value_;
    QToolButton *upButton_;
    QToolButton *downButton_;
};
