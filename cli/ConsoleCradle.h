#pragma once

#include "cli/CradleScan.h"

#include "cradle/BridgeApi.h"
#include "cradle/CradleIdentifierSet.h"
#include "cradle/FrameCodec.h"
#include "cradle/HidLink.h"
#include "cradle/LinkEndpoint.h"
#include "cradle/SessionInterfaces.h"
#include "cradle/SessionProtocol.h"
#include "cradle/SpiLink.h"

#include <hid/HidDataPort.h>
#include <hid/HidDevice.h>

#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

namespace qzr {
class THidDevices;
}

namespace qzr::cli {

// One cradle driven from the command line: its link (HID reports or SPI polls),
// the frame codec and the session with the unit, on the same classes as the
// control window, with the window's timers and a console's view of the session
// (nothing to show but the progress meter).
class TConsoleCradle : public TSessionWindow, private TLinkEndpoint {
public:
    TConsoleCradle(THidDevices& devices, TBridgeApi& bridge, const TCradleIdentifierSet& ids,
                   TSessionIdSource& sessionIds);
    ~TConsoleCradle() override;
    TConsoleCradle(const TConsoleCradle&) = delete;
    TConsoleCradle& operator=(const TConsoleCradle&) = delete;

    // Opens the cradle; throws the no-cradle error (exit code 3) with the
    // link's own message when it cannot be opened.
    void Connect(const TCradleEntry& cradle);
    void Disconnect();
    bool Connected() const;

    // Runs the event loop until `done` holds, the cradle is lost or `deadline`
    // has passed; whether `done` holds.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline);

    // Waits for the session's start: the unit detected, the handshake and the
    // setup image read. Throws the no-cradle error when no unit shows up or no
    // session is held within `deadline`.
    void HoldSession(std::chrono::milliseconds deadline);

    // The unit has left the cradle since the session was held.
    bool UnitLeft() const { return FUnitLeft; }
    // The cradle itself is gone (unplugged, or a bridge transfer failed).
    bool CradleLost() const { return !Connected(); }

    // The progress meter of the running operation.
    std::function<void(int percent)> OnProgress;
    // Runs when the session ends the live readings (the session's end).
    std::function<void()> OnRealtimeEnded;

    TFrameCodec Codec;
    TSessionProtocol Session;

    // TSessionWindow
    void SetAllowances() override {}
    void SetCaption() override {}
    void ShowUnitOnCradle(bool present) override;
    void SetProgress(int percent) override;
    void ShowMessageCounts(std::uint32_t, std::uint32_t) override {}
    void SetSessionTimerActive(bool active) override;
    void ClearSessionDisplays() override {}
    void EndRealtimeDisplay() override;
    void SetupDataToControls() override { FSetupRead = true; }

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

    void PollBridge();

    TCradleKind FKind = TCradleKind::Hid;
    THidDevices& FDevices;
    std::unique_ptr<TBridgeApi> FChosenBridge;
    TBridgeApi& FBridge;
    TCradleIdentifierSet FIds;
    THidDevice FHidDevice;
    THidDataPort FHidDataPortIn;
    THidDataPort FHidDataPortOut;
    THidLink FHidLink;
    std::unique_ptr<TSpiLink> FSpiLink;
    QTimer FProtocolTimer;
    QTimer FSessionTimer;
    QTimer FSpiTimer;
    bool FSetupRead = false;
    bool FSessionHeld = false;
    bool FUnitLeft = false;
};

} // namespace qzr::cli
