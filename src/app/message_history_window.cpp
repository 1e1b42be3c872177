#include "message_history_window.h"
#include "widgets/accessibility.h"

#include "status_line.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

MessageHistoryWindow::MessageHistoryWindow(const StatusLine &line, QWidget *parent)
    : QDialog(parent), line_(line), list_(new QListWidget(this))
{
    widgets::makeAccessible(this);
    setObjectName(QStringLiteral("messageHistory"));
    setWindowTitle(QStringLiteral("Messages"));
    list_->setObjectName(QStringLiteral("messageList"));
    list_->setWordWrap(true);
    list_->setAlternatingRowColors(true);
    auto *caption = new QLabel(QStringLiteral("&Last %1 status messages, newest last:").arg(StatusLine::kKept), this);
    caption->setBuddy(list_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    resize(520, 320);

    connect(&line_, &StatusLine::historyChanged, this, &MessageHistoryWindow::refresh);
    refresh();
}

void MessageHistoryWindow::refresh()
{
    const bool atEnd = list_->count() == 0 || list_->currentRow() == list_->count() - 1;
    list_->clear();
    for (const StatusMessage &message : line_.history()) {
        auto *item = new QListWidgetItem(message.time.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ")
                                         + message.text, list_);
        item->setToolTip(message.text);
    }
    if (atEnd && list_->count() > 0)
        list_->setCurrentRow(list_->count() - 1);
}

}  // namespace app
