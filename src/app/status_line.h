#pragma once
// What panel 1 of the main window's status bar says, and what it said.
//
// Each message replaces the one before, but a passing notice (a trap's
// "Trap Received") does not hide a result the user has had on screen for
// less than a few seconds: it waits until the result has stood that long,
// unless something newer comes first. Every message, shown at once or not,
// goes into the history: the last kKept, each with its time.

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTime>
#include <QTimer>

namespace app {

struct StatusMessage {
    QTime time;
    QString text;
};

class StatusLine : public QObject {
    Q_OBJECT
public:
    static constexpr int kKept = 100;
    static constexpr int kHoldMs = 3000;

    explicit StatusLine(QObject *parent = nullptr);

    // A message for the line; `passing` for a notice that may wait.
    void post(const QString &text, bool passing = false);
    QString current() const { return current_; }
    // Oldest first; empty texts (the line cleared) are not kept.
    const QList<StatusMessage> &history() const { return history_; }

    // How long a result stands before a passing notice may replace it.
    void setHoldMs(int milliseconds) { holdMs_ = milliseconds; }

signals:
    void shown(const QString &text);
    void historyChanged();

private:
    void display(const QString &text, bool passing);

    QString current_;
    bool currentPassing_ = false;
    QElapsedTimer shownFor_;
    QString waiting_;  // a passing notice held back
    QTimer release_;
    QList<StatusMessage> history_;
    int holdMs_ = kHoldMs;
};

}  // namespace app
