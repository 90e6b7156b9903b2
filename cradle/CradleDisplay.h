#pragma once

#include "cradle/operations/DataLogger.h"
#include "cradle/operations/LiveReadings.h"
#include "cradle/operations/LogReadout.h"
#include "cradle/operations/SetupProgramming.h"

#include <QDate>

#include <cstdint>

namespace qzr {

// What the owner of a cradle connection shows of it and of its unit
// operations: the control window, or a console in a command-line program.
// Every call comes on the GUI thread, synchronously, from inside a
// TCradleConnection operation; implementations may call back into the
// connection (read its session, switch an operation), exactly as a check
// box's click handler runs in the middle of a refresh. The timers are the
// connection's own.
class TCradleDisplay : public TSetupProgrammingReport,
                       public TCalibrationFieldsView,
                       public TLogReadoutReport {
public:
    // Refresh the session indicator and the enabled controls from the
    // session's state. May switch off "View datalogger status" or "Show
    // realtime" (their operations' click handlers with false), which may
    // change SessionState and refresh again before returning.
    virtual void SetAllowances() = 0;
    // Refresh the caption and the firmware label from the session's state.
    virtual void SetCaption() = 0;

    // The on-cradle indicator: a unit was detected (true) or is gone.
    virtual void ShowUnitOnCradle(bool present) = 0;
    // The progress meter, 0 to 100: of the session, a programming run and a
    // readout alike.
    void SetProgress(int percent) override = 0;
    // The OK and error counters changed.
    virtual void ShowMessageCounts(std::uint32_t ok, std::uint32_t errors) = 0;

    // At session start: empty the four realtime value texts, set the logger
    // status text to "--", empty the minimum, maximum, integral and
    // remaining-interval texts, clear the log-interval preset selection and
    // show the log-interval field blank.
    virtual void ClearSessionDisplays() = 0;
    // At session end: switch "Show realtime" off (its click handler runs if it
    // was on).
    virtual void EndRealtimeDisplay() = 0;

    // Put the session's SetupData into the controls.
    virtual void SetupDataToControls() = 0;

    // The live readings.
    virtual void ShowReadings(const TRealtimeReadings& readings) = 0;
    virtual void ClearReadings() = 0;

    // The "Datalogger" sheet (see TDataLoggerView).
    virtual int DecimalDotIndex() const = 0;
    virtual void ShowLoggerStatus(const TLoggerStatusTexts& texts) = 0;
    virtual void ShowLogInterval(std::uint16_t seconds) = 0;
    virtual void ShowLogDate(const QDate& date) = 0;
    virtual void LoggerStarted() = 0;

    // The cradle was lost without a device change being reported (a bridge
    // whose transfer failed); the connection is closed.
    virtual void CradleLost() = 0;
};

} // namespace qzr
