#pragma once
// The message boxes of the radio windows: a note with an OK button and a
// Yes/No question. The user answers them in real message boxes; tests put
// their own answers in place with setMessageBoxes().

#include <QString>

class QWidget;

namespace radiotest {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A note with an OK button; returns when it is dismissed.
    virtual void tell(QWidget *parent, const QString &text) = 0;
    // Yes/No with the question icon; true for Yes.
    virtual bool askYesNo(QWidget *parent, const QString &text, const QString &title) = 0;
};

// The boxes in use: those set last, or real message boxes.
MessageBoxes &messageBoxes();
// nullptr: back to real message boxes. The caller keeps ownership.
void setMessageBoxes(MessageBoxes *boxes);

}  // namespace radiotest
