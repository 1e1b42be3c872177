#pragma once
// Panel 1 of the main window's status bar: the running message line. Its
// size does not follow its text: a label would measure each new message
// (shaping the whole text) for the status bar's layout, several times a
// millisecond while a device is read. The panel takes the width the bar
// gives it and draws each message from a cached layout; a text too long
// for it ends in "…" (the whole text is the tooltip and in the history).
//
// Drawn by hand, it tells screen readers itself what it shows: its
// accessible name is its text, and a new text is announced as a name
// change, only while an assistive technology listens. A click (or the
// screen reader's press) asks for the message history: activated().

#include <QFrame>
#include <QStaticText>

class QAccessibleInterface;

namespace app {

class StatusPanel : public QFrame {
    Q_OBJECT
public:
    explicit StatusPanel(QWidget *parent = nullptr);
    QString text() const { return text_; }
    void setText(const QString &text);
    // The text as drawn at the panel's present width.
    QString shownText() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void activated();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    static QAccessibleInterface *accessibleFor(const QString &className, QObject *object);
    QRect textArea() const;
    void prepareShown() const;

    QString text_;
    mutable QStaticText shown_;
    mutable int shownWidth_ = -1;  // the width shown_ was made for; -1: to be made
};

}  // namespace app
