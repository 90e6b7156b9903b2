#pragma once

#include <protocol/LogData.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace qzr::test {

// An erased image with a head and the given records from the first one on.
inline TLogData LogImage(std::int32_t startTime, std::int32_t delay, std::uint16_t interval,
                         std::uint8_t decimals, std::initializer_list<TLogRecord> records,
                         std::uint8_t sensorId = 20)
{
    TLogData data;
    data.Erase();
    data.SetStartTime(startTime);
    data.SetDelay(delay);
    data.SetInterval(interval);
    data.SetDecimals(decimals);
    data.SetSensorId(sensorId);
    std::size_t k = 0;
    for (const TLogRecord& record : records)
        data.SetRecord(k++, record);
    return data;
}

// An image whose every record slot holds a present record k: minimum -k,
// maximum k, integral 60 k.
inline TLogData FullLogImage()
{
    TLogData data = LogImage(0, 0, 60, 0, {});
    for (std::size_t k = 0; k < LogRecordCount; ++k) {
        const auto v = static_cast<std::int16_t>(k);
        data.SetRecord(k, {static_cast<std::int16_t>(-v), v, std::int32_t{v} * 60});
    }
    return data;
}

} // namespace qzr::test
