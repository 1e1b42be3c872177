#include "widgets/option_group_tab_stop.h"

#include <QAbstractButton>

namespace widgets {

OptionGroupTabStop *OptionGroupTabStop::install(const QList<QAbstractButton *> &options)
{
    return options.isEmpty() ? nullptr : new OptionGroupTabStop(options);
}

OptionGroupTabStop::OptionGroupTabStop(const QList<QAbstractButton *> &options)
    : QObject(options.constFirst())
{
    for (QAbstractButton *option : options) {
        options_ << option;
        connect(option, &QAbstractButton::toggled, this, &OptionGroupTabStop::moveTabStop);
    }
    moveTabStop();
}

void OptionGroupTabStop::moveTabStop()
{
    QAbstractButton *stop = nullptr;
    for (QAbstractButton *option : std::as_const(options_)) {
        if (option && option->isChecked())
            stop = option;
    }
    if (!stop && !options_.isEmpty())
        stop = options_.constFirst();
    // The other options still take the focus when clicked or reached with
    // the arrow keys.
    for (QAbstractButton *option : std::as_const(options_)) {
        if (option)
            option->setFocusPolicy(option == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

}  // namespace widgets
