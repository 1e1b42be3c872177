#pragma once
// A group of option buttons as one tab stop: Tab lands on the selected
// option (on the first while none is selected) and the next Tab leaves the
// group; the arrow keys still move within it. Without this, Tab lands on
// the first option, where a Space silently changes the setting.

#include <QList>

class QAbstractButton;

namespace quicksetup {

// Once per group, after the buttons are made; lives as long as they do.
void keepTabStopOnSelectedOption(const QList<QAbstractButton *> &options);

}  // namespace quicksetup
