#pragma once

#include "protocol/LittleEndian.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The unit's logger memory image: a 14-byte head (start-command time T, start
// delay D, log interval, decimals, sensor ID) followed by 3518 interval
// records of minimum, maximum and integral. Multi-byte fields are
// little-endian; erased memory reads 0xFF. A logged-data file is exactly one
// image.
namespace qzr {

inline constexpr std::size_t LogDataSize = 28160;
inline constexpr std::size_t LogHeadSize = 14;
inline constexpr std::size_t LogRecordSize = 8;
inline constexpr std::size_t LogRecordCount = 3518;

namespace LogOffset {
inline constexpr std::size_t StartTime =
    0; // signed 32: seconds from 2000-01-01 00:00:00 local; -1: no data
inline constexpr std::size_t Delay = 4;     // signed 32: seconds
inline constexpr std::size_t Interval = 8;  // unsigned 16: seconds
inline constexpr std::size_t Decimals = 10; // unsigned 8
inline constexpr std::size_t SensorId = 12; // unsigned 8
constexpr std::size_t Record(std::size_t k)
{
    return LogHeadSize + LogRecordSize * k;
}
} // namespace LogOffset

// Logger states reported in the status reply.
enum TLoggerState : std::uint8_t {
    lsIdle = 0,
    lsArmed = 2,
    lsLogging = 4,
    lsMemoryFull = 6,
    lsBatteryLow = 8,
};

// The start time of an image that holds no data.
inline constexpr std::int32_t NoStartTime = -1;

// Interval record k covers the interval that ends k + 1 intervals after the
// start of logging. A record whose three fields are all -1 is erased.
struct TLogRecord {
    std::int16_t Minimum = -1;
    std::int16_t Maximum = -1;
    std::int32_t Integral = -1;

    bool Erased() const { return Minimum == -1 && Maximum == -1 && Integral == -1; }
    bool operator==(const TLogRecord&) const = default;
};

// The image as raw bytes with named accessors. A default image is zeroed;
// Erase() gives the state of an erased memory.
struct TLogData : std::array<std::uint8_t, LogDataSize> {
    void Erase() { fill(0xFF); }

    std::int32_t StartTime() const { return ReadS32(data() + LogOffset::StartTime); }
    std::int32_t Delay() const { return ReadS32(data() + LogOffset::Delay); }
    std::uint16_t Interval() const { return ReadU16(data() + LogOffset::Interval); }
    std::uint8_t Decimals() const { return (*this)[LogOffset::Decimals]; }
    std::uint8_t SensorId() const { return (*this)[LogOffset::SensorId]; }
    bool HasData() const { return StartTime() != NoStartTime; }

    void SetStartTime(std::int32_t t) { WriteS32(data() + LogOffset::StartTime, t); }
    void SetDelay(std::int32_t d) { WriteS32(data() + LogOffset::Delay, d); }
    void SetInterval(std::uint16_t seconds) { WriteU16(data() + LogOffset::Interval, seconds); }
    void SetDecimals(std::uint8_t decimals) { (*this)[LogOffset::Decimals] = decimals; }
    void SetSensorId(std::uint8_t id) { (*this)[LogOffset::SensorId] = id; }

    // k = 0 to LogRecordCount - 1.
    TLogRecord Record(std::size_t k) const
    {
        const std::uint8_t* at = data() + LogOffset::Record(k);
        return {ReadS16(at), ReadS16(at + 2), ReadS32(at + 4)};
    }
    void SetRecord(std::size_t k, const TLogRecord& record)
    {
        std::uint8_t* at = data() + LogOffset::Record(k);
        WriteS16(at, record.Minimum);
        WriteS16(at + 2, record.Maximum);
        WriteS32(at + 4, record.Integral);
    }
};

} // namespace qzr
