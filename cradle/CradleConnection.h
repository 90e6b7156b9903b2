#pragma once

#include "cradle/BridgeApi.h"
#include "cradle/CradleDisplay.h"
#include "cradle/CradleIdentifierSet.h"
#include "cradle/FrameCodec.h"
#include "cradle/HidLink.h"
#include "cradle/InterfaceChip.h"
#include "cradle/LinkEndpoint.h"
#include "cradle/SessionInterfaces.h"
#include "cradle/SessionProtocol.h"
#include "cradle/SpiLink.h"
#include "cradle/operations/UnitOperations.h"

#include <hid/HidDataPort.h>
#include <hid/HidDevice.h>

#include <QTimer>

#include <cstdint>

namespace qzr {

// Everything of one cradle but its window: the transport of the cradle's
// kind (the HID device with its two data ports and the HID link, or the SPI
// link on the bridge library), the frame codec, the session with the unit
// (SetupData included), the window's five timers and the unit operations on
// the session. It reports through a TCradleDisplay; the control window owns
// one and shows it, a command-line program owns one per cradle with a console
// display.
//
// The timers call the public tick handlers, so that tests call them instead
// of waiting. All calls on the GUI thread.
class TCradleConnection : private TSessionWindow,
                          private TLinkEndpoint,
                          private TLiveReadingsView,
                          private TDataLoggerView {
public:
    static constexpr int ProtocolTimerInterval = 50;
    static constexpr int SessionTimerInterval = 100;
    static constexpr int SPITimerInterval = 10;
    static constexpr int OperationTimerInterval = 1000;

    TCradleConnection(TCradleDisplay& display, TSessionIdSource& sessionIds, TBridgeApi& bridge,
                      const TCradleIdentifierSet& identifiers);
    ~TCradleConnection() override;
    TCradleConnection(const TCradleConnection&) = delete;
    TCradleConnection& operator=(const TCradleConnection&) = delete;

    TInterfaceChip InterfaceChip() const { return FInterfaceChip; }
    void SetInterfaceChip(TInterfaceChip chip) { FInterfaceChip = chip; }

    // Opens the cradle of the connection's kind; `index` is the cradle's
    // number in the HID device list (HID cradles only). Throws with a message
    // for the user when the cradle cannot be opened: "Device N is not
    // available." for a number beyond 16 bits, the HID device layer's error,
    // or the bridge's "Failed to open connection: " and "Connection error: "
    // with the library's code.
    void Connect(int index);
    // Closes the cradle; never throws.
    void Disconnect();
    bool Connected() const;
    // Input reports of the HID cradle are no longer taken (the window closes).
    void StopHidInput();

    // Timer handlers.
    void ProtocolTimerTimer();
    void SessionTimerTimer();
    void SPITimerTimer();
    void RealTimerTimer();
    void LoggerTimerTimer();

    // The input handler: runs once per input report of the HID cradle.
    void HidDataPortInHidData();

    TFrameCodec Codec;
    TSessionProtocol Session;
    // Setup programming, live readings, the data logger and the readout: the
    // session's replies go to them, the owner calls their click handlers.
    TUnitOperations Operations;

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

    const THidLink& HidLink() const { return FHidLink; }
    const TSpiLink& SpiLink() const { return FSpiLink; }

private:
    // TSessionWindow: the display's part is passed on, the session timer is
    // the connection's own.
    void SetAllowances() override { FDisplay.SetAllowances(); }
    void SetCaption() override { FDisplay.SetCaption(); }
    void ShowUnitOnCradle(bool present) override { FDisplay.ShowUnitOnCradle(present); }
    void SetProgress(int percent) override { FDisplay.SetProgress(percent); }
    void ShowMessageCounts(std::uint32_t ok, std::uint32_t errors) override
    {
        FDisplay.ShowMessageCounts(ok, errors);
    }
    void SetSessionTimerActive(bool active) override;
    void ClearSessionDisplays() override { FDisplay.ClearSessionDisplays(); }
    void EndRealtimeDisplay() override;
    void SetupDataToControls() override { FDisplay.SetupDataToControls(); }

    // TLiveReadingsView and TDataLoggerView: the display's part is passed on,
    // the two timers are the connection's own.
    void SetRealtimeTimerActive(bool active) override;
    void ShowReadings(const TRealtimeReadings& readings) override
    {
        FDisplay.ShowReadings(readings);
    }
    void ClearReadings() override { FDisplay.ClearReadings(); }
    int DecimalDotIndex() const override { return FDisplay.DecimalDotIndex(); }
    void SetLoggerTimerActive(bool active) override;
    void ShowLoggerStatus(const TLoggerStatusTexts& texts) override
    {
        FDisplay.ShowLoggerStatus(texts);
    }
    void ShowLogInterval(std::uint16_t seconds) override { FDisplay.ShowLogInterval(seconds); }
    void ShowLogDate(const QDate& date) override { FDisplay.ShowLogDate(date); }
    void LoggerStarted() override { FDisplay.LoggerStarted(); }

    // TLinkEndpoint
    bool OnCradle() const override { return Session.OnCradle; }
    void SetOnCradle(bool onCradle) override { Session.OnCradle = onCradle; }
    void ReceiveLinkByte(std::uint8_t byte) override { Session.ReceiveLinkByte(byte); }
    bool ReceivingFrame() const override
    {
        return (Codec.ProtocolState & (psData | psDataDLE)) != 0;
    }
    bool OutputPending() const override { return Codec.OutputPending(); }
    std::uint8_t NextOutputByte() override { return Codec.NextOutputByte(); }
    void SessionStarts() override { Session.SessionStarts(); }
    void SessionEnds() override { Session.SessionEnds(); }
    void UnitDetected() override { Session.UnitDetected(); }
    void UnitGone() override { Session.UnitGone(); }

    void SetUpTimers();
    void ConnectHidPorts();
    void ConnectHidCradle(int index);

    TCradleDisplay& FDisplay;
    TInterfaceChip FInterfaceChip = ifUndefined;
    THidLink FHidLink;
    TSpiLink FSpiLink;
};

} // namespace qzr
