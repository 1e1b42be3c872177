#include "radiotest/message_boxes.h"

#include <QMessageBox>
#include <QWidget>

namespace radiotest {

namespace {

class RealMessageBoxes : public MessageBoxes {
public:
    void tell(QWidget *parent, const QString &text) override
    {
        // The note carries the caption of the window it is about.
        const QString title = parent ? parent->window()->windowTitle() : QString();
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
        box.exec();
    }
    bool askYesNo(QWidget *parent, const QString &text, const QString &title) override
    {
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
               == QMessageBox::Yes;
    }
};

MessageBoxes *&current()
{
    static MessageBoxes *boxes = nullptr;
    return boxes;
}

}  // namespace

MessageBoxes &messageBoxes()
{
    static RealMessageBoxes real;
    return current() ? *current() : real;
}

void setMessageBoxes(MessageBoxes *boxes)
{
    current() = boxes;
}

}  // namespace radiotest
