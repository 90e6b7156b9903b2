#include "cradle/operations/LoggerStart.h"

#include <cstdlib>
#include <limits>
#include <string>

#include "cradle/operations/RangeError.h"

namespace qzr {

namespace {

constexpr std::int64_t MsecsPerDay = 86400000;
constexpr std::int64_t LatestCount = std::numeric_limits<std::int32_t>::max();
constexpr std::uint32_t LongestLogInterval = std::numeric_limits<std::uint16_t>::max();

const QDate& UnitEpoch()
{
    static const QDate epoch(2000, 1, 1);
    return epoch;
}

// Milliseconds of local wall-clock time from 2000-01-01 00:00:00, as the unit
// counts them (a day is always 86400 seconds).
std::int64_t WallClockMsecs(const QDate& date, const QTime& time)
{
    return UnitEpoch().daysTo(date) * MsecsPerDay + time.msecsSinceStartOfDay();
}

std::string CountText(std::int64_t seconds)
{
    constexpr std::int64_t SecondsPerDay = MsecsPerDay / 1000;
    const QDate day = UnitEpoch().addDays(seconds / SecondsPerDay);
    const QTime time = QTime(0, 0).addSecs(static_cast<int>(seconds % SecondsPerDay));
    return (day.toString(QStringLiteral("yyyy-MM-dd ")) + time.toString(QStringLiteral("hh:mm:ss")))
        .toStdString();
}

void CheckCount(const char* field, std::int64_t seconds)
{
    if (seconds > LatestCount)
        throw ERangeError(std::string(field) + ": " + CountText(seconds) + " is outside " +
                          CountText(0) + " to " + CountText(LatestCount));
}

} // namespace

TLoggerStart LoggerStartFromFields(const QDateTime& now, const TLoggerStartFields& fields)
{
    TLoggerStart start;
    const std::int64_t nowMsecs = WallClockMsecs(now.date(), now.time());
    const std::int64_t t = std::llabs(nowMsecs) / 1000;
    CheckCount("Current time", t);
    std::int64_t d = 0;
    if (fields.Date.isValid()) {
        const QTime timeOfDay = fields.Time.isValid() ? fields.Time : QTime(0, 0);
        const std::int64_t startMsecs = WallClockMsecs(fields.Date, timeOfDay);
        if (startMsecs < nowMsecs)
            start.StartMovedToToday = true;
        else
            d = (startMsecs - nowMsecs) / 1000;
    }
    CheckCount("Delayed start", t + d);
    if (fields.Interval > LongestLogInterval)
        throw ERangeError("Log interval (seconds)", fields.Interval, 1, LongestLogInterval);
    start.T = static_cast<std::int32_t>(t);
    start.D = static_cast<std::int32_t>(d);
    start.IntervalRaised = fields.Interval < ShortestLogInterval;
    start.Interval =
        start.IntervalRaised ? ShortestLogInterval : static_cast<std::uint16_t>(fields.Interval);
    return start;
}

} // namespace qzr
