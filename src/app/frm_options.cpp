#include "frm_options.h"
#include "widgets/accessibility.h"

#include "agent/device_session.h"
#include "widgets/dialog_parts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

namespace {

QString secondsText(int seconds)
{
    return QStringLiteral("%1 seconds").arg(seconds);
}

}  // namespace

int frmOptions::pollingSecondsOfStep(int step)
{
    return step >= 0 && step < kPollingSteps ? step * kSecondsPerPollingStep : -1;
}

int frmOptions::pollingStepOfSeconds(int seconds)
{
    if (seconds < 0 || seconds % kSecondsPerPollingStep != 0)
        return -1;
    const int step = seconds / kSecondsPerPollingStep;
    return step < kPollingSteps ? step : -1;
}

frmOptions::frmOptions(agent::DeviceSession &session, QWidget *parent)
    : QDialog(parent),
      session_(session),
      PollingSlider(new QSlider(Qt::Horizontal, this)),
      PollingIntervalLabel(new QLabel(this)),
      SaveTrapsCheck(new QCheckBox(QStringLiteral(" Save Traps To File"), this))
{
    widgets::makeAccessible(this);
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral(" Options"));
    setModal(true);

    QLabel *Label4 =
        dialogparts::label(QStringLiteral("Label4"), QStringLiteral("Polling Interval"), PollingSlider, this);
    PollingSlider->setObjectName(QStringLiteral("PollingSlider"));
    PollingSlider->setRange(0, kPollingSteps - 1);
    PollingSlider->setPageStep(1);
    PollingSlider->setTickPosition(QSlider::TicksBelow);
    PollingSlider->setTickInterval(1);
    PollingIntervalLabel->setObjectName(QStringLiteral("PollingIntervalLabel"));
    // The widest text, so the row does not jump while the slider moves.
    PollingIntervalLabel->setMinimumWidth(PollingIntervalLabel->fontMetrics().horizontalAdvance(secondsText(30)) + 4);
    SaveTrapsCheck->setObjectName(QStringLiteral("SaveTrapsCheck"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label4, 0, 0, 1, 2);
    grid->addWidget(PollingSlider, 1, 0);
    grid->addWidget(PollingIntervalLabel, 1, 1);
    grid->addWidget(SaveTrapsCheck, 2, 0, 1, 2);
    const auto buttons = dialogparts::okCancelButtons(this);
    grid->addLayout(buttons.row, 3, 0, 1, 2);
    grid->setColumnMinimumWidth(0, 160);

    connect(PollingSlider, &QSlider::valueChanged, this, &frmOptions::PollingSlider_Change);
    connect(buttons.ok, &QPushButton::clicked, this, &frmOptions::OKCommand_Click);
    connect(buttons.cancel, &QPushButton::clicked, this, &frmOptions::CancelCommand_Click);

    Form_Load();
}

QString frmOptions::intervalText()
{
    const int step = pollingStepOfSeconds(session_.device().store().pollingInterval);
    if (step < 0)
        return QString();
    step_ = qint16(step);
    return secondsText(pollingSecondsOfStep(step));
}

void frmOptions::Form_Load()
{
    PollingIntervalLabel->setText(intervalText());
    {
        // Showing the stored step is not a move of the slider.
        const QSignalBlocker quiet(PollingSlider);
        PollingSlider->setValue(step_);
    }
    SaveTrapsCheck->setChecked(session_.device().store().saveTraps);
}

void frmOptions::PollingSlider_Change()
{
    const int seconds = pollingSecondsOfStep(PollingSlider->value());
    if (seconds < 0)
        return;
    PollingIntervalLabel->setText(secondsText(seconds));
    session_.device().store().pollingInterval = config::Integer(seconds);
}

void frmOptions::OKCommand_Click()
{
    config::ConfigurationStore &store = session_.device().store();
    store.saveTraps = SaveTrapsCheck->isChecked();
    session_.applyPolling(store.pollingInterval);
    PollingSlider_Change();
    accept();
}

void frmOptions::CancelCommand_Click() { reject(); }
