#include "quicksetup/option_tab_stop.h"

#include <QAbstractButton>
#include <QPointer>

namespace quicksetup {

namespace {

void moveTabStop(const QList<QPointer<QAbstractButton>> &options)
{
    QAbstractButton *stop = nullptr;
    for (QAbstractButton *option : options) {
        if (option && option->isChecked())
            stop = option;
    }
    if (!stop && !options.isEmpty())
        stop = options.constFirst();
    // The others still take the focus when clicked or reached by arrow key.
    for (QAbstractButton *option : options) {
        if (option)
            option->setFocusPolicy(option == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

}  // namespace

void keepTabStopOnSelectedOption(const QList<QAbstractButton *> &options)
{
    QList<QPointer<QAbstractButton>> guarded;
    for (QAbstractButton *option : options)
        guarded << option;
    for (QAbstractButton *option : options)
        QObject::connect(option, &QAbstractButton::toggled, option, [guarded] { moveTabStop(guarded); });
    moveTabStop(guarded);
}

}  // namespace quicksetup
