#include "sim/unit/UnitLogger.h"

#include <algorithm>
#include <limits>

#include "protocol/LittleEndian.h"

namespace sim {

namespace {

constexpr std::int16_t NoMinimum = std::numeric_limits<std::int16_t>::max();
constexpr std::int16_t NoMaximum = std::numeric_limits<std::int16_t>::min();

} // namespace

UnitLogger::UnitLogger()
{
    memory_.fill(0xFF);
    beginInterval();
}

void UnitLogger::eraseWithHead(std::int32_t startTime, std::int32_t delay, std::uint16_t interval,
                               std::uint8_t decimals, std::uint8_t sensorId)
{
    memory_.fill(0xFF);
    qzr::WriteU32(&memory_[0], static_cast<std::uint32_t>(startTime));
    qzr::WriteU32(&memory_[4], static_cast<std::uint32_t>(delay));
    qzr::WriteU16(&memory_[8], interval);
    memory_[10] = decimals;
    memory_[11] = 0;
    memory_[12] = sensorId;
    memory_[13] = 0;
    fillPosition_ = qzr::LogHeadSize;
    interval_ = std::max<std::uint16_t>(interval, 1);
}

void UnitLogger::start(std::int32_t startTime, std::int32_t delay, std::uint16_t interval,
                       std::uint8_t decimals, std::uint8_t sensorId)
{
    eraseWithHead(startTime, delay, interval, decimals, sensorId);
    remainingDelay_ = delay > 0 ? static_cast<std::uint32_t>(delay) : 0;
    state_ = remainingDelay_ > 0 ? qzr::lsArmed : qzr::lsLogging;
    beginInterval();
}

void UnitLogger::load(const LoggerRecording& recording)
{
    eraseWithHead(recording.startTime, recording.delay, recording.interval, recording.decimals,
                  recording.sensorId);
    const std::size_t count = std::min(recording.records.size(), qzr::LogRecordCount);
    for (std::size_t i = 0; i < count; ++i)
        storeRecord(recording.records[i]);
    remainingDelay_ = 0;
    state_ = fillPosition_ == EndOfRecords ? qzr::lsMemoryFull : qzr::lsIdle;
    beginInterval();
}

void UnitLogger::beginInterval()
{
    secondsLeft_ = interval_;
    minimum_ = NoMinimum;
    maximum_ = NoMaximum;
    integral_ = 0;
}

void UnitLogger::storeRecord(const LoggerRecord& record)
{
    qzr::WriteU16(&memory_[fillPosition_], static_cast<std::uint16_t>(record.minimum));
    qzr::WriteU16(&memory_[fillPosition_ + 2], static_cast<std::uint16_t>(record.maximum));
    qzr::WriteU32(&memory_[fillPosition_ + 4], static_cast<std::uint32_t>(record.integral));
    fillPosition_ = static_cast<std::uint16_t>(fillPosition_ + qzr::LogRecordSize);
}

void UnitLogger::stepSecond(std::int16_t sample, bool batteryLow)
{
    if (state_ == qzr::lsArmed) {
        if (--remainingDelay_ == 0) {
            state_ = qzr::lsLogging;
            beginInterval();
        }
        return;
    }
    if (state_ != qzr::lsLogging)
        return;
    if (batteryLow) {
        state_ = qzr::lsBatteryLow;
        return;
    }
    minimum_ = std::min(minimum_, sample);
    maximum_ = std::max(maximum_, sample);
    const std::int64_t sum = std::int64_t{integral_} + sample;
    integral_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    if (--secondsLeft_ > 0)
        return;
    storeRecord({minimum_, maximum_, integral_});
    beginInterval();
    if (fillPosition_ == EndOfRecords)
        state_ = qzr::lsMemoryFull;
}

std::uint32_t UnitLogger::passDelay(std::uint32_t seconds)
{
    if (state_ != qzr::lsArmed)
        return 0;
    const std::uint32_t passed = std::min(seconds, remainingDelay_ - 1);
    remainingDelay_ -= passed;
    return passed;
}

void UnitLogger::writeStatus(std::uint8_t* status) const
{
    const bool logging = state_ == qzr::lsLogging;
    qzr::WriteU32(&status[0], state_ == qzr::lsArmed ? remainingDelay_ : 0);
    qzr::WriteU16(&status[4], fillPosition_);
    status[6] = state_;
    status[7] = 0;
    qzr::WriteU16(&status[8], logging ? secondsLeft_ : 0);
    qzr::WriteU16(&status[10], static_cast<std::uint16_t>(logging ? minimum_ : NoMinimum));
    qzr::WriteU16(&status[12], static_cast<std::uint16_t>(logging ? maximum_ : NoMaximum));
    qzr::WriteU32(&status[14], static_cast<std::uint32_t>(logging ? integral_ : 0));
}

} // namespace sim
