#pragma once
// A group of option buttons as one tab stop: Tab lands on the selected
// option (on the first while none is selected) and the next Tab leaves the
// group; the arrow keys move the selection within it. Without it Tab lands
// on the first option, where a Space silently changes the setting.
//
// Use: widgets::OptionGroupTabStop::install({firstOption, secondOption, ...});
// once per group, after the buttons are made; it lives as long as they do.

#include <QList>
#include <QObject>
#include <QPointer>

class QAbstractButton;

namespace widgets {

class OptionGroupTabStop : public QObject {
    Q_OBJECT

public:
    static OptionGroupTabStop *install(const QList<QAbstractButton *> &options);

private:
    explicit OptionGroupTabStop(const QList<QAbstractButton *> &options);
    void moveTabStop();

    QList<QPointer<QAbstractButton>> options_;
};

}  // namespace widgets
