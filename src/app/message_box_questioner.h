#pragma once
// Yes/No questions of the device logic answered by the user in a message
// box with the question icon.

#include "agent/questioner.h"

#include <QPointer>
#include <QWidget>

namespace app {

class MessageBoxQuestioner : public agent::Questioner {
public:
    explicit MessageBoxQuestioner(QWidget *parent = nullptr) : parent_(parent) {}
    bool askYesNo(const QString &text, const QString &title) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace app
