#pragma once
// Helpers for the settings dialog tests: controls found by their names,
// buttons pressed as a user would.

#include "agent/device.h"
#include "snmp/mib.h"
#include "snmp/request_engine.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <utility>

// The device a window under test shows; its engine is never opened, so
// nothing is ever sent.
inline agent::Device &testDevice()
{
    static snmp::RequestEngine engine;
    static snmp::Mib mib;
    static agent::Device device(engine, mib);
    return device;
}

// The test device back to a store fresh from the start and nothing read or edited.
inline config::ConfigurationStore &freshStore()
{
    testDevice().forget();
    return testDevice().store() = config::ConfigurationStore();
}

template <typename Control = QWidget>
Control *control(const QWidget *window, const char *name)
{
    auto *found = window->findChild<Control *>(QString::fromLatin1(name));
    if (!found)
        qFatal("control %s missing or of another kind", name);
    return found;
}

inline void setText(const QWidget *window, const char *box, const QString &text)
{
    control<QLineEdit>(window, box)->setText(text);
}

// Clicks the button and lets deferred deletions run, so a dialog that
// unloaded itself is gone afterwards.
inline void press(const QWidget *window, const char *button)
{
    control<QAbstractButton>(window, button)->click();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <typename Dialog, typename... Args>
Dialog *openDialog(QPointer<QWidget> &keeper, Args &&...args)
{
    auto *dialog = new Dialog(std::forward<Args>(args)...);
    dialog->show();
    keeper = dialog;
    return dialog;
}
