#pragma once

#include <QtGlobal>

namespace qzr {

// The ends and the number of ticks of a time axis whose ticks fall on round
// times of the local clock (every 15 minutes, 4 hours, 1 day, ...).
struct TTimeAxisScale {
    qint64 FirstMSecs = 0; // instants, milliseconds since the epoch
    qint64 LastMSecs = 0;
    int TickCount = 2;

    bool operator==(const TTimeAxisScale&) const = default;
};

// Widens the span from first to last (instants in milliseconds) to whole
// multiples of the smallest round step that needs at most MaximumTimeAxisIntervals
// intervals for it, counted on a clock that runs offsetSeconds ahead of UTC.
inline constexpr int MaximumTimeAxisIntervals = 6;
TTimeAxisScale RoundTimeAxisScale(qint64 firstMSecs, qint64 lastMSecs, int offsetSeconds);

} // namespace qzr
