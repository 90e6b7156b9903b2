#pragma once

#include <cstdint>

namespace qzr {

// What the owner of a cradle connection shows of it: the control window, or
// a console in a command-line program. Every call comes on the GUI thread,
// synchronously, from inside a TCradleConnection operation; implementations
// may call back into the connection (read its session, switch an operation),
// exactly as a check box's click handler runs in the middle of a refresh.
class TCradleDisplay {
public:
    virtual ~TCradleDisplay() = default;

    // Refresh the session indicator and the enabled controls from the
    // session's state. May switch off "View datalogger status" or "Show
    // realtime" (SwitchLoggerStatus(false), SwitchRealtime(false)), which
    // changes SessionState to ssIdle and refreshes again before returning.
    virtual void SetAllowances() = 0;
    // Refresh the caption and the firmware label from the session's state.
    virtual void SetCaption() = 0;

    // The on-cradle indicator: a unit was detected (true) or is gone.
    virtual void ShowUnitOnCradle(bool present) = 0;
    // The progress meter, 0 to 100.
    virtual void SetProgress(int percent) = 0;
    // The OK and error counters changed.
    virtual void ShowMessageCounts(std::uint32_t ok, std::uint32_t errors) = 0;

    // At session start: empty the four realtime value texts, set the logger
    // status text to "--", empty the minimum, maximum, integral and
    // remaining-interval texts, clear the log-interval preset selection and
    // show the log-interval field blank.
    virtual void ClearSessionDisplays() = 0;
    // At session end: switch "Show realtime" off (SwitchRealtime(false) runs
    // if it was on).
    virtual void EndRealtimeDisplay() = 0;

    // Put the session's SetupData into the controls.
    virtual void SetupDataToControls() = 0;

    // The cradle was lost without a device change being reported (a bridge
    // whose transfer failed); the connection is closed.
    virtual void CradleLost() = 0;
};

} // namespace qzr
