#pragma once
// The Trap Recorder: the trap log as text, refreshed once a second, and
// "Clear all", which empties the log in memory (the log file keeps every
// entry). Closing it takes the trap mark off the main window's status bar
// and empties its status line; the main window does that on unloaded().
//
// A refresh adds only the entries that came since the last one (a long
// entry is laid out once, not every second), and leaves the reader where
// they are unless they were at the bottom. The window shows the newest
// entries up to about kShownLimit characters: past that, the oldest whole
// entries leave it (the file keeps them all).

#include <QTimer>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace traps {
class TrapReception;
}

class frmTrapLog : public QWidget {
    Q_OBJECT

public:
    explicit frmTrapLog(traps::TrapReception &log, QWidget *parent = nullptr);

    QSize sizeHint() const override;

    static constexpr int kShownLimit = 20000;

    QPlainTextEdit *txtTrapLog;
    QPushButton *ClearCommand;
    QTimer Timer1;  // copies the log into the text box

public slots:
    void Timer1_Timer();
    void ClearCommand_Click();

signals:
    void unloaded();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void take(const QString &entry);
    void showLog();

    traps::TrapReception &log_;
    QStringList waiting_;  // entries since the last refresh, as the box shows them
    qsizetype waitingChars_ = 0;
    QList<qsizetype> shownEntries_;  // the length of each entry in the box, oldest first
    qsizetype shownChars_ = 0;
};
