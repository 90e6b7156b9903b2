#pragma once

#include <cstdint>

#include "protocol/LogData.h"
#include "sim/unit/Zt46Unit.h"

// The unit's data logger: its memory image and the state machine that fills
// it, one step per second of unit time.
namespace sim {

class UnitLogger {
public:
    UnitLogger();

    // Erase and start (message 0x28). The head takes T, D, the interval and
    // the display decimals and sensor ID of the working setup image. An
    // interval of 0 is taken as 1 second; a negative delay as none.
    void start(std::int32_t startTime, std::int32_t delay, std::uint16_t interval,
               std::uint8_t decimals, std::uint8_t sensorId);
    void load(const LoggerRecording& recording);

    // One second of unit time with the user-adjusted reading of that second.
    void stepSecond(std::int16_t sample, bool batteryLow);
    // Lets up to `seconds` of a delayed start pass at once, all but its last
    // second (which stepSecond turns into logging); returns the seconds
    // passed, 0 when not armed.
    std::uint32_t passDelay(std::uint32_t seconds);
    // Whether unit time changes anything: armed or logging.
    bool running() const { return state_ == qzr::lsArmed || state_ == qzr::lsLogging; }

    // The 18 status bytes of a 0x27 reply (message bytes 2-19).
    void writeStatus(std::uint8_t* status) const;

    const qzr::TLogData& memory() const { return memory_; }
    qzr::TLoggerState state() const { return state_; }
    std::uint16_t fillPosition() const { return fillPosition_; }
    std::uint32_t remainingDelay() const { return state_ == qzr::lsArmed ? remainingDelay_ : 0; }

    // End of the last record slot: the memory is full when the fill position
    // reaches it.
    static constexpr std::uint16_t EndOfRecords =
        qzr::LogHeadSize + qzr::LogRecordSize * qzr::LogRecordCount;

private:
    void eraseWithHead(std::int32_t startTime, std::int32_t delay, std::uint16_t interval,
                       std::uint8_t decimals, std::uint8_t sensorId);
    void beginInterval();
    void storeRecord(const LoggerRecord& record);

    qzr::TLogData memory_{};
    qzr::TLoggerState state_ = qzr::lsIdle;
    std::uint16_t fillPosition_ = qzr::LogHeadSize;
    std::uint16_t interval_ = 1;
    std::uint32_t remainingDelay_ = 0;
    std::uint16_t secondsLeft_ = 0;
    std::int16_t minimum_ = 0;
    std::int16_t maximum_ = 0;
    std::int32_t integral_ = 0;
};

} // namespace sim
