#pragma once

#include <cstdint>

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace qzr {

// The start fields of the "Datalogger" sheet as values.
struct TLoggerStartFields {
    // The day of a delayed start; a null date: start at once.
    QDate Date;
    // The time of day of a delayed start.
    QTime Time;
    // The log interval field in seconds; 0 when it is empty.
    std::uint32_t Interval = 0;
};

// The parameters of the erase-and-start message, and what the fields show
// afterwards.
struct TLoggerStart {
    std::int32_t T = 0;         // seconds from 2000-01-01 00:00:00 to now, local time
    std::int32_t D = 0;         // seconds from now to the delayed start
    std::uint16_t Interval = 2; // seconds, at least 2
    // The interval field was empty, 0 or 1 and now shows Interval.
    bool IntervalRaised = false;
    // The delayed start lay in the past: logging starts at once and the date
    // field shows today's date.
    bool StartMovedToToday = false;
};

// The shortest log interval the unit is given.
inline constexpr std::uint16_t ShortestLogInterval = 2;

// Computes the start from the clock's `now` (local time) and the fields. T
// counts the whole seconds of local time from 2000-01-01 00:00:00 to now; a
// delayed start is the date field's day at the time field's time of day, and
// D the whole seconds from now to it (0, the start moved to today, when it
// lies in the past). Throws ERangeError when T or the start of logging
// (T + D, after 2068-01-19 03:14:07) does not fit the unit's signed 32-bit
// count, or when the interval exceeds 65535.
TLoggerStart LoggerStartFromFields(const QDateTime& now, const TLoggerStartFields& fields);

} // namespace qzr
