#pragma once

#include "cradle/CradleFormControls.h"
#include "cradle/CradleFormEnvironment.h"
#include "cradle/FrameCodec.h"
#include "cradle/HidLink.h"
#include "cradle/LinkEndpoint.h"
#include "cradle/SessionInterfaces.h"
#include "cradle/SessionProtocol.h"
#include "cradle/SpiLink.h"

#include <hid/HidDataPort.h>
#include <hid/HidDevice.h>

#include <QTimer>
#include <QWidget>

#include <cstdint>

namespace qzr {

// The cradle kind a control window drives.
enum TInterfaceChip : std::uint8_t { ifUndefined = 0, ifCypress = 1, ifSorvik = 2 };

// The control window of one cradle: it connects the cradle, holds the link,
// the frame codec and the session with the unit in it, and shows the unit's
// settings, live readings and logger on three sheets. Its caption, indicators
// and enabled controls follow the session state (SetAllowances, SetCaption).
class TCradleForm : public QWidget, public TSessionWindow, private TLinkEndpoint {
    Q_OBJECT
public:
    // Client area of the window.
    static constexpr int ClientWidth = 569;
    static constexpr int ClientHeight = 274;

    explicit TCradleForm(TCradleFormEnvironment environment);
    ~TCradleForm() override;

    TInterfaceChip InterfaceChip() const { return FInterfaceChip; }
    void SetInterfaceChip(TInterfaceChip chip) { FInterfaceChip = chip; }

    // Opens the cradle of the window's kind; `index` is the cradle's number in
    // the HID device list (HID cradles only). Throws with a message for the
    // user when the cradle cannot be opened.
    void Connect(int index);
    // Closes the cradle; never throws.
    void Disconnect();
    bool Connected() const;

    // Window placement: restored from the INI file, else centred on `anchor`.
    void RestorePlacement(const QWidget* anchor);
    // Back to the window's outline size, or as near as the sheets and panels
    // still shown allow, once the personality has hidden some of them.
    void FitToShownSheets();

    // TSessionWindow
    void SetAllowances() override;
    void SetCaption() override;
    void ShowUnitOnCradle(bool present) override;
    void SetProgress(int percent) override;
    void ShowMessageCounts(std::uint32_t ok, std::uint32_t errors) override;
    void SetSessionTimerActive(bool active) override;
    void ClearSessionDisplays() override;
    void EndRealtimeDisplay() override;
    void SetupDataToControls() override;

    // Timer handlers.
    void ProtocolTimerTimer();
    void SessionTimerTimer();
    void SPITimerTimer();
    void RealTimerTimer();
    void LoggerTimerTimer();

    // Click handlers of the two check boxes that switch an operation.
    void ReadRealtimeActionExecute();
    void ReadLoggerValuesCheckboxClick();

    TFrameCodec Codec;
    TSessionProtocol Session;
    TCradleFormControls Controls;
    // Set when the amplifier range changed and the unit has not been told yet.
    bool AdAmpSelectBoxWasClicked = false;

    QTimer ProtocolTimer;
    QTimer SessionTimer;
    QTimer SPITimer;
    QTimer RealTimer;
    QTimer LoggerTimer;

    // The HID cradle (ifCypress): the device, hooked into the main window's
    // device list before Connect, and its input and output report views.
    THidDevice HidDevice;
    THidDataPort HidDataPortIn;
    THidDataPort HidDataPortOut;
    // The input handler: runs once per input report of the HID cradle.
    void HidDataPortInHidData();

    const THidLink& HidLink() const { return FHidLink; }
    const TSpiLink& SpiLink() const { return FSpiLink; }
    // Shows the catalogue's current sensor in the sensor fields.
    void ShowCurrentSensor();

signals:
    // The cradle was lost without a device change being reported (a bridge
    // whose transfer failed); the window is no longer connected.
    void CradleLost();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // TLinkEndpoint
    bool OnCradle() const override { return Session.OnCradle; }
    void SetOnCradle(bool onCradle) override { Session.OnCradle = onCradle; }
    void ReceiveLinkByte(std::uint8_t byte) override { Session.ReceiveLinkByte(byte); }
    bool OutputPending() const override { return Codec.OutputPending(); }
    std::uint8_t NextOutputByte() override { return Codec.NextOutputByte(); }
    void SessionStarts() override { Session.SessionStarts(); }
    void SessionEnds() override { Session.SessionEnds(); }
    void UnitDetected() override { Session.UnitDetected(); }
    void UnitGone() override { Session.UnitGone(); }

    void ConnectHidPorts();
    void ConnectHidCradle(int index);
    void DisconnectHidCradle();
    bool HidCradleConnected() const;
    // Input reports are no longer taken once the window closes.
    void StopHidInput();

    void BuildWindow();
    void ConnectHandlers();
    void SavePlacement() const;
    void SendRequest(std::uint8_t messageId);
    // Starts (on) or stops a timer that repeats one request, with the session
    // timer; the session enters `state` while it runs and is idle after.
    void SwitchRepeatedRequests(bool on, QTimer& requestTimer, TSessionState state);
    QString MessageText(const char* name) const;

    TCradleFormEnvironment FEnvironment;
    TInterfaceChip FInterfaceChip = ifUndefined;
    THidLink FHidLink;
    TSpiLink FSpiLink;
};

} // namespace qzr
