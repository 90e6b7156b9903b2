#pragma once

#include <protocol/LogData.h>

#include <QDateTime>

#include <cstddef>
#include <optional>
#include <vector>

namespace qzr {

// One present interval record as the chart, the text export and the command
// line show it.
struct TLogPoint {
    std::size_t Index = 0; // record k, counting from 0
    QDateTime Time;        // end of the interval, wall clock (see LogTime.h)
    TLogRecord Raw;        // the integers of the display
    double Minimum = 0;    // Raw.Minimum / 10^decimals
    double Maximum = 0;    // Raw.Maximum / 10^decimals
    // (Raw.Integral / 10^decimals) / interval; none when the log interval is
    // 0, which defines no average.
    std::optional<double> Average;
};

// What a logger image holds, read once for every view of it.
struct TLogWalk {
    // False when the start time is -1 (erased): the image holds no data, no
    // record is read and the fields below keep their defaults.
    bool HasData = false;
    QDateTime StartDT; // start of logging: start time + start delay, wall clock
    quint16 LogInterval = 0;
    int DecDot = 0;     // number of decimals of the values
    int SensorType = 0; // sensor ID, key of the sensor catalogue
    // The value range found in the minima and maxima, never narrower than
    // -1.5 to +1.5.
    double Lowest = -1.5;
    double Highest = 1.5;
    std::vector<TLogPoint> Points; // the present records, in memory order
};

// Walks the interval records from the first one while the previous record
// was present, at most the LogRecordCount records that the memory holds. A
// record is present when any of its three fields differs from -1; the first
// erased record ends the data. Record k lies at StartDT + (k + 1) intervals.
TLogWalk WalkLogRecords(const TLogData& data);

} // namespace qzr
