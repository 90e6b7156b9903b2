#include "logdata/LogRecordWalk.h"

#include "logdata/LogTime.h"

#include <algorithm>
#include <cmath>

namespace qzr {

TLogWalk WalkLogRecords(const TLogData& data)
{
    TLogWalk walk;
    if (!data.HasData())
        return walk;
    walk.HasData = true;
    const qint64 start = qint64{data.StartTime()} + data.Delay();
    walk.StartDT = LogWallClock(start);
    walk.LogInterval = data.Interval();
    walk.DecDot = data.Decimals();
    walk.SensorType = data.SensorId();

    const double scale = std::pow(10.0, walk.DecDot);
    walk.Points.reserve(LogRecordCount);
    for (std::size_t k = 0; k < LogRecordCount; ++k) {
        const TLogRecord record = data.Record(k);
        if (record.Erased())
            break;
        TLogPoint point;
        point.Index = k;
        point.Time = LogWallClock(start + qint64(k + 1) * walk.LogInterval);
        point.Raw = record;
        point.Minimum = record.Minimum / scale;
        point.Maximum = record.Maximum / scale;
        if (walk.LogInterval != 0)
            point.Average = record.Integral / scale / walk.LogInterval;
        walk.Lowest = std::min(walk.Lowest, point.Minimum);
        walk.Highest = std::max(walk.Highest, point.Maximum);
        walk.Points.push_back(point);
    }
    return walk;
}

} // namespace qzr
