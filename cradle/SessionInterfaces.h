#pragma once

#include <cstdint>

#include "cradle/FrameCodec.h"

// What the session protocol needs from its surroundings, as narrow interfaces.
// The control window implements TSessionWindow, the main window (or anything
// holding the program-wide counter) TSessionIdSource, and the unit operations
// TUnitReplyHandler. Every call comes on the GUI thread, synchronously, from
// inside a TSessionProtocol operation; implementations may call back into the
// session (read or set its public fields, call its operations), exactly as a
// check box's click handler runs in the middle of a refresh.
namespace qzr {

// Hands out the program-wide session IDs: 1, 2, ..., 255, 0, 1, ...
class TSessionIdSource {
public:
    virtual ~TSessionIdSource() = default;
    virtual std::uint8_t NewSessionID() = 0;
};

// The control window as the session sees it.
class TSessionWindow {
public:
    virtual ~TSessionWindow() = default;

    // Refresh the session indicator and the enabled controls from the
    // session's state. May uncheck "View datalogger status" or "Show
    // realtime", whose click handlers then change SessionState (to ssIdle) and
    // refresh again before returning.
    virtual void SetAllowances() = 0;
    // Refresh the caption and the firmware label from the session's state.
    virtual void SetCaption() = 0;

    // The on-cradle indicator: bright green (0,255,0) when a unit was
    // detected, dark green (0,128,0) when it is gone.
    virtual void ShowUnitOnCradle(bool present) = 0;
    // The progress meter of the status bar, 0 to 100.
    virtual void SetProgress(int percent) = 0;
    // The OK and error counters of the status bar changed.
    virtual void ShowMessageCounts(std::uint32_t ok, std::uint32_t errors) = 0;

    // Start or stop the window's 100 ms session timer; its tick must call
    // TSessionProtocol::SessionTimerTimer.
    virtual void SetSessionTimerActive(bool active) = 0;

    // At session start: empty the four realtime value texts, set the logger
    // status text to "--", empty the minimum, maximum, integral and
    // remaining-interval texts, clear the log-interval preset selection and
    // show the log-interval field blank (repainted).
    virtual void ClearSessionDisplays() = 0;
    // At session end: uncheck "Show realtime" (its click handler runs if it
    // was checked) and stop the realtime timer.
    virtual void EndRealtimeDisplay() = 0;

    // Put the session's SetupData into the controls.
    virtual void SetupDataToControls() = 0;
};

// The unit operations' side of the dispatcher: replies 0x21 to 0x24 and 0x27
// to 0x29 that passed the session-ID check. The message is in
// codec.InputData[0..InputCount-3] (ID, session ID, payload); fields are read
// from fixed positions, the whole 515-byte buffer being readable. A 0x22 reply
// reaches ReplyReceived only while MultiMode is true.
class TUnitReplyHandler {
public:
    virtual ~TUnitReplyHandler() = default;
    virtual void ReplyReceived(std::uint8_t messageId, const TFrameCodec& codec) = 0;
};

} // namespace qzr
