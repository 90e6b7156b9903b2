#pragma once

#include <cstdint>
#include <initializer_list>

#include "cradle/FrameCodec.h"
#include "cradle/SessionInterfaces.h"
#include "protocol/SetupData.h"
#include "protocol/UnitProtocol.h"

namespace qzr {

enum TSessionState : std::int32_t {
    ssNone = 0,           // no session
    ssHandshake = 1,      // session ID sent, confirmation awaited
    ssReadingSetup = 2,   // session started, setup image being read
    ssRealtime = 3,       // realtime values being shown
    ssSendingSetup = 4,   // setup image being written
    ssFlashing = 5,       // unit storing the setup image
    ssStartingLogger = 6, // logger erase-and-start sent
    ssReadingLog = 7,     // logger memory being read
    ssLoggerStatus = 8,   // logger status being monitored
    ssIdle = 9,           // session open, no operation running
};

// States 2 to 8: an operation is running.
constexpr bool IsBusy(std::int32_t state)
{
    return state >= ssReadingSetup && state <= ssLoggerStatus;
}

// The session with the unit in one cradle: the handshake that gives the unit
// a session ID, the dispatcher of received frames, the request time-out with
// one resend, the rejection rules, the message counters and the setup-image
// read that opens every session.
//
// The control window owns one, together with its TFrameCodec, and feeds it:
// every received link byte through ReceiveLinkByte (or ReceiveByte +
// ProcessInput + reset itself), the transports' arrival and departure
// routines, and the session timer's ticks. The session fields are public: the
// window's handlers and the unit operations read and set them as the window's
// own fields. All calls on the GUI thread.
//
// Diagnostic texts go to the logging category "qzr.session".
class TSessionProtocol {
public:
    // Session-timer ticks (100 ms each) a request may stay unanswered.
    static constexpr std::uint32_t RequestTimeoutTicks = 20;
    // Failed frames that are answered by a resend before the session is
    // rejected (BlockRetries 0, 1, 2).
    static constexpr std::uint32_t MaxResendsAfterFailure = 3;

    TSessionProtocol(TFrameCodec& codec, TSessionWindow& window, TSessionIdSource& sessionIds);

    // The unit operations that handle replies 0x21-0x24 and 0x27-0x29; null
    // (the default) leaves those replies without further effect.
    void setReplyHandler(TUnitReplyHandler* handler) { FReplyHandler = handler; }

    TSessionState SessionState = ssNone;
    std::uint8_t SessionID = 0;
    std::uint32_t SerialNumber = 0;
    std::uint8_t ProtocolVersion = 0;
    std::uint8_t FirmwareVersion = 0;
    std::uint16_t ConfigCode = 0;
    std::uint32_t SessionTimeout = 0;
    bool OnCradle = false;
    std::uint16_t SETUPIndex = 0;
    // True during a programming run of the whole setup image; false after a
    // single pair written on its own, whose echo is then accepted silently.
    bool MultiMode = false;
    TSetupData SetupData{};

    std::uint32_t okCount() const { return FOkCount; }
    std::uint32_t errorCount() const { return FErrorCount; }

    // The dispatcher: acts when the codec holds a complete or failed frame.
    void ProcessInput();
    // ReceiveByte, ProcessInput and, after a complete or failed frame, the
    // receiver reset: what a transport does with every received byte.
    void ReceiveLinkByte(std::uint8_t b);

    void UnitDetected();
    void UnitGone();
    void SessionStarts();
    void SessionEnds();
    void SessionRejected();
    // The common end step of every unit operation.
    void OperationDone();

    // Every change of SessionState goes through here: the window's enabled
    // controls and caption follow at once (SetAllowances, SetCaption).
    void SetSessionState(TSessionState state);
    // Sends a message built with Message(); `count` bytes of it travel.
    void SendMessage(const TMessageBuffer& message, std::uint32_t count);
    // Starts a request that must be answered: SessionTimeout to 20 ticks, the
    // session timer on, the message sent.
    void SendRequest(const TMessageBuffer& message, std::uint32_t count);
    // Switches the session timer on or off.
    void SetSessionTimerActive(bool active);

    // The session timer's tick (every 100 ms while the timer is on).
    void SessionTimerTimer();

    // Builds a message in a zero-filled buffer: ID, then the given bytes.
    static TMessageBuffer Message(std::uint8_t id, std::initializer_list<std::uint8_t> bytes = {});

private:
    void HandleMessage();
    void HandleIdentify();
    void HandleSessionConfirm();
    void HandleSetupImage();
    void HandleVersionReport();
    void SendSession();
    void Refresh();
    void CountMessage(bool ok);

    TFrameCodec& FCodec;
    TSessionWindow& FWindow;
    TSessionIdSource& FSessionIds;
    TUnitReplyHandler* FReplyHandler = nullptr;
    std::uint32_t FOkCount = 0;
    std::uint32_t FErrorCount = 0;
};

} // namespace qzr
