#pragma once
#include <QString>

namespace agent {

// Yes/No questions the device logic asks before it changes the device. The
// windows answer with a message box; tests and scripts answer directly.
class Questioner {
public:
    virtual ~Questioner() = default;
    virtual bool askYesNo(const QString &text, const QString &title) = 0;
};

}  // namespace agent
