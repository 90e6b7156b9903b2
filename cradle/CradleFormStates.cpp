#include "cradle/CradleForm.h"

#include "cradle/SessionColors.h"
#include "widgets/Indicator.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace qzr {

namespace {

// Enables a check box; a disabled one is unchecked, which runs its handler.
void AllowCheckBox(QCheckBox* box, bool enabled)
{
    box->setEnabled(enabled);
    if (!enabled)
        box->setChecked(false);
}

QString HexSerial(std::uint32_t serial)
{
    return QStringLiteral("%1").arg(serial, 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace

void TCradleForm::SetAllowances()
{
    const TSessionProtocol& session = Connection.Session;
    const TSessionState state = session.SessionState;
    const bool busy = IsBusy(state);
    const bool onCradle = session.OnCradle;
    Controls.SessionIndicator->SetColor(busy ? SessionBusyColor : SessionIdleColor);
    AllowCheckBox(Controls.RealtimeCheckBox, onCradle && (!busy || state == ssRealtime));
    AllowCheckBox(Controls.ReadLoggerValuesCheckbox,
                  onCradle && (!busy || state == ssLoggerStatus));
    const bool realtimeShown = Controls.RealtimeCheckBox->isChecked();
    AllowCheckBox(Controls.LinkFullScaleToRealtimeCheckBox, realtimeShown);
    AllowCheckBox(Controls.LinkOffsetToRealtimeCheckBox, realtimeShown);
    for (QPushButton* button : {Controls.ProgramFactoryBtn, Controls.ProgramUserBtn,
                                Controls.ReadLoggerBtn, Controls.StartLoggerBtn})
        button->setEnabled(onCradle && !busy);
}

void TCradleForm::SetCaption()
{
    const TSessionProtocol& session = Connection.Session;
    if (!Connection.Connected()) {
        setWindowTitle(FEnvironment.ProductName);
        return;
    }
    const QString serial = HexSerial(session.SerialNumber);
    switch (session.SessionState) {
    case ssNone:
        setWindowTitle(MessageText("NothingConnected"));
        Controls.FirmwareVersionLabel->setText(QStringLiteral(".."));
        break;
    case ssHandshake:
        setWindowTitle(QLatin1Char('#') + serial);
        break;
    case ssReadingSetup:
        setWindowTitle(MessageText("Reading") + QStringLiteral(" #") + serial);
        break;
    case ssRealtime:
        setWindowTitle(MessageText("ReadingInputs"));
        break;
    case ssSendingSetup:
        setWindowTitle(MessageText("SendingSetupInfo"));
        break;
    case ssFlashing:
        setWindowTitle(MessageText("RequestingNVMFlash"));
        break;
    case ssStartingLogger:
        setWindowTitle(MessageText("StartDatalogger"));
        break;
    case ssReadingLog:
        setWindowTitle(MessageText("readingStoredDataFromLogger"));
        break;
    case ssLoggerStatus:
        setWindowTitle(MessageText("readingMeasuredValuesFromLogger"));
        break;
    case ssIdle:
        setWindowTitle(QLatin1Char('#') + serial);
        Controls.FirmwareVersionLabel->setText(
            QStringLiteral("%1").arg(session.FirmwareVersion, 2, 16, QLatin1Char('0')).toUpper());
        break;
    }
}

} // namespace qzr
