#pragma once
// Panel 1 of the main window's status bar: the running message line. Its
// size does not follow its text: a label would measure each new message
// (shaping the whole text) for the status bar's layout, several times a
// millisecond while a device is read. The panel takes the width the bar
// gives it, clips a longer text (whose whole is the tooltip), and draws
// each message from a cached layout.

#include <QFrame>
#include <QStaticText>

namespace app {

class StatusPanel : public QFrame {
public:
    explicit StatusPanel(QWidget *parent = nullptr);
    QString text() const { return text_; }
    void setText(const QString &text);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QString text_;
    QStaticText shown_;
};

}  // namespace app
