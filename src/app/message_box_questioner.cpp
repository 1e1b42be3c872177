#include "message_box_questioner.h"

#include <QMessageBox>

namespace app {

bool MessageBoxQuestioner::askYesNo(const QString &text, const QString &title)
{
    const auto answer = QMessageBox::question(parent_.data(), title, text,
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return answer == QMessageBox::Yes;
}

}  // namespace app
