#pragma once
// A widget whose content changes faster than a screen shows frames (the
// status line during a read changes four times in a millisecond) is
// repainted at most once a frame: its content is always current, only the
// painting waits for the next frame, where the latest content is drawn once.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

namespace app {

class PacedRepaint : public QObject {
public:
    explicit PacedRepaint(QWidget *widget, int frameMs = 16);
    // Call before changing the widget's content.
    void aboutToChange();

private:
    void resume();

    QPointer<QWidget> widget_;
    QElapsedTimer sinceResumed_;
    QTimer nextFrame_;
};

}  // namespace app
