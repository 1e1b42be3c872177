#pragma once
// The Trap Recorder: the trap log as text, refreshed once a second, and
// "Clear all", which empties the log in memory (the log file keeps every
// entry). Closing it takes the trap mark off the main window's status bar
// and empties its status line; the main window does that on unloaded().

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
    void showLog();

    traps::TrapReception &log_;
    QString shown_;  // the log as the text box has it
};
