#include "logdata/TimeAxisScale.h"

#include <algorithm>
#include <array>

namespace qzr {

namespace {

constexpr qint64 Second = 1000;
constexpr qint64 Minute = 60 * Second;
constexpr qint64 Hour = 60 * Minute;
constexpr qint64 Day = 24 * Hour;
constexpr qint64 Week = 7 * Day;

constexpr std::array<qint64, 21> RoundSteps{
    Second,     2 * Second, 5 * Second,  10 * Second, 15 * Second, 30 * Second, Minute,
    2 * Minute, 5 * Minute, 10 * Minute, 15 * Minute, 30 * Minute, Hour,        2 * Hour,
    3 * Hour,   4 * Hour,   6 * Hour,    12 * Hour,   Day,         2 * Day,     Week};

qint64 FloorTo(qint64 value, qint64 step)
{
    const qint64 quotient = value / step;
    return (quotient - (value % step < 0 ? 1 : 0)) * step;
}

qint64 CeilTo(qint64 value, qint64 step)
{
    return -FloorTo(-value, step);
}

} // namespace

TTimeAxisScale RoundTimeAxisScale(qint64 firstMSecs, qint64 lastMSecs, int offsetSeconds)
{
    const qint64 offset = qint64{offsetSeconds} * Second;
    const qint64 first = firstMSecs + offset;
    const qint64 last = std::max(lastMSecs + offset, first + Second);
    qint64 step = RoundSteps.back();
    for (const qint64 candidate : RoundSteps) {
        if ((CeilTo(last, candidate) - FloorTo(first, candidate)) / candidate <=
            MaximumTimeAxisIntervals) {
            step = candidate;
            break;
        }
    }
    // Beyond weeks: whole numbers of weeks.
    while ((CeilTo(last, step) - FloorTo(first, step)) / step > MaximumTimeAxisIntervals)
        step += Week;
    const qint64 roundFirst = FloorTo(first, step);
    const qint64 roundLast = CeilTo(last, step);
    return {roundFirst - offset, roundLast - offset, int((roundLast - roundFirst) / step) + 1};
}

} // namespace qzr
