#pragma once

#include <cstdint>

#include <QDate>
#include <QDateTime>

#include "cradle/FrameCodec.h"
#include "cradle/SessionProtocol.h"
#include "cradle/operations/LoggerStart.h"
#include "cradle/operations/LoggerStatusTexts.h"

namespace qzr {

// The "Datalogger" sheet as the logger operations see it.
class TDataLoggerView {
public:
    virtual ~TDataLoggerView() = default;
    // The index of the decimal-dot selector: the decimals of the shown values.
    virtual int DecimalDotIndex() const = 0;
    // Start or stop the 1 s logger-status timer; its tick must call
    // LoggerTimerTimer.
    virtual void SetLoggerTimerActive(bool active) = 0;
    virtual void ShowLoggerStatus(const TLoggerStatusTexts& texts) = 0;
    // The interval field was raised to the shortest interval.
    virtual void ShowLogInterval(std::uint16_t seconds) = 0;
    // The delayed start lay in the past: the date field shows today.
    virtual void ShowLogDate(const QDate& date) = 0;
    // The unit erased its logger and started it; the session is idle.
    virtual void LoggerStarted() = 0;
};

// Erase-and-start of the unit's logger (0x28) and the status polling of
// "View datalogger status" (0x27 once a second).
class TDataLogger {
public:
    static constexpr std::uint32_t StartCount = 12;
    static constexpr std::uint32_t StatusCount = 2;

    TDataLogger(TSessionProtocol& session, TDataLoggerView& view);

    // "Erase and start the datalogger", after the user confirmed it. `now` is
    // the current local date and time, taken once. A start that cannot be
    // encoded throws ERangeError: nothing is sent and the session is idle.
    void StartLoggerBtnClick(const QDateTime& now, const TLoggerStartFields& fields);

    // The click of "View datalogger status", `checked` its new state.
    // Unchecked, it stops the polling and returns the session to idle when
    // the polling was what it was doing.
    void ReadLoggerValuesCheckboxClick(bool checked);
    // The logger-status timer's tick: one request, whether or not the
    // previous one was answered.
    void LoggerTimerTimer();

    // Replies 0x27 and 0x28.
    void ReplyReceived(std::uint8_t messageId, const TFrameCodec& codec);

private:
    TSessionProtocol& FSession;
    TDataLoggerView& FView;
};

} // namespace qzr
