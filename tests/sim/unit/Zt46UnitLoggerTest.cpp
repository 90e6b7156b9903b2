#include "sim/unit/Zt46Unit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "UnitDriver.h"
#include "sim/unit/DemoRecording.h"

namespace sim {
namespace {

using namespace std::chrono_literals;
using test::s16;
using test::s32;
using test::u16;

constexpr std::uint16_t FirstRecord = qzr::LogHeadSize;
constexpr std::uint16_t EndOfRecords = qzr::LogHeadSize + 8 * qzr::LogRecordCount;

class Zt46UnitLogger : public testing::Test {
protected:
    Zt46UnitLogger()
    {
        driver.openSession(2);
        unit.setInputMicrovolts(12345); // 1x: 1234 counts, shown as 123.4
    }

    void start(std::int32_t t, std::int32_t delay, std::uint16_t interval)
    {
        std::vector<std::uint8_t> message{0x28, 2};
        for (std::int32_t value : {t, delay})
            for (int i = 0; i < 4; ++i)
                message.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        message.push_back(static_cast<std::uint8_t>(interval));
        message.push_back(static_cast<std::uint8_t>(interval >> 8));
        ASSERT_EQ(driver.ask(message), (std::vector<std::uint8_t>{0x28, 2}));
    }

    std::vector<std::uint8_t> status() { return driver.ask({0x27, 2}); }

    std::vector<std::uint8_t> readBlock(std::uint16_t offset)
    {
        return driver.ask(
            {0x29, 2, static_cast<std::uint8_t>(offset), static_cast<std::uint8_t>(offset >> 8)});
    }

    std::vector<std::uint8_t> memory() const
    {
        return {unit.loggerMemory().begin(), unit.loggerMemory().end()};
    }

    Zt46Unit unit{{77, 1, 0x10, 0}};
    test::UnitDriver driver{unit};
};

TEST_F(Zt46UnitLogger, FreshUnitIsIdleWithErasedMemory)
{
    const auto reply = status();
    ASSERT_EQ(reply.size(), 20u);
    EXPECT_EQ(reply[8], qzr::lsIdle);
    EXPECT_EQ(s16(reply, 12), 32767);
    EXPECT_EQ(s16(reply, 14), -32768);
    EXPECT_EQ(memory(), std::vector<std::uint8_t>(qzr::LogDataSize, 0xFF));
}

TEST_F(Zt46UnitLogger, StartWritesTheHeadAndLogsOneRecordPerInterval)
{
    start(788918400, 0, 10);
    const auto head = memory();
    EXPECT_EQ(s32(head, 0), 788918400);
    EXPECT_EQ(s32(head, 4), 0);
    EXPECT_EQ(u16(head, 8), 10u);
    EXPECT_EQ(head[10], 1) << "decimals of the setup image";
    EXPECT_EQ(head[12], 1) << "sensor ID of the setup image";
    EXPECT_EQ(head[14], 0xFF);

    for (int i = 0; i < 30; ++i)
        unit.advanceTime(100ms); // three seconds in small steps
    auto reply = status();
    EXPECT_EQ(reply[8], qzr::lsLogging);
    EXPECT_EQ(u16(reply, 6), FirstRecord);
    EXPECT_EQ(u16(reply, 10), 7u);
    EXPECT_EQ(s16(reply, 12), 1234);
    EXPECT_EQ(s16(reply, 14), 1234);
    EXPECT_EQ(s32(reply, 16), 3 * 1234);

    unit.advanceTime(5s);
    unit.setInputMicrovolts(-5000);
    const std::int16_t negative = unit.readings().userAdjusted;
    ASSERT_LT(negative, 0);
    unit.advanceTime(2s);
    reply = status();
    EXPECT_EQ(u16(reply, 6), FirstRecord + 8u);
    EXPECT_EQ(u16(reply, 10), 10u);
    const auto log = memory();
    EXPECT_EQ(s16(log, FirstRecord), negative);
    EXPECT_EQ(s16(log, FirstRecord + 2), 1234);
    EXPECT_EQ(s32(log, FirstRecord + 4), 8 * 1234 + 2 * negative);
    EXPECT_EQ(log[FirstRecord + 8], 0xFF);
}

TEST_F(Zt46UnitLogger, DelayedStartWaitsArmedThenLogs)
{
    start(1000, 5, 2);
    auto reply = status();
    EXPECT_EQ(reply[8], qzr::lsArmed);
    EXPECT_EQ(s32(reply, 2), 5);
    unit.advanceTime(4s);
    EXPECT_EQ(s32(status(), 2), 1);
    unit.advanceTime(1s);
    EXPECT_EQ(status()[8], qzr::lsLogging);
    unit.advanceTime(2s);
    EXPECT_EQ(unit.loggerFillPosition(), FirstRecord + 8);
}

TEST_F(Zt46UnitLogger, FillsTheMemoryAndStopsFull)
{
    start(0, 0, 1);
    unit.advanceTime(std::chrono::seconds(qzr::LogRecordCount - 1));
    EXPECT_EQ(unit.loggerState(), qzr::lsLogging);
    unit.advanceTime(std::chrono::seconds(10));
    EXPECT_EQ(unit.loggerState(), qzr::lsMemoryFull);
    EXPECT_EQ(u16(status(), 6), EndOfRecords);
    EXPECT_EQ(status()[8], qzr::lsMemoryFull);
    const auto log = memory();
    EXPECT_EQ(s16(log, EndOfRecords - 8), 1234);
    EXPECT_EQ(log[28158], 0xFF);
    EXPECT_EQ(log[28159], 0xFF);
}

TEST_F(Zt46UnitLogger, LowBatteryStopsLogging)
{
    start(0, 0, 60);
    unit.setBatteryMillivolts(Zt46Unit::LowBatteryMillivolts - 1);
    unit.advanceTime(1s);
    EXPECT_EQ(status()[8], qzr::lsBatteryLow);
}

TEST_F(Zt46UnitLogger, ReadoutBlocksReassembleTheMemory)
{
    unit.loadLoggerRecording(temperatureDayRecording(800000000));
    for (std::size_t blockSize : {std::size_t{256}, std::size_t{1}, std::size_t{100000}}) {
        unit.setReadoutBlockSize(blockSize);
        std::vector<std::uint8_t> image;
        std::size_t largest = 0;
        while (image.size() < qzr::LogDataSize) {
            const auto reply = readBlock(static_cast<std::uint16_t>(image.size()));
            ASSERT_GT(reply.size(), 2u);
            largest = std::max(largest, reply.size() - 2);
            image.insert(image.end(), reply.begin() + 2, reply.end());
            if (blockSize == 1 && image.size() == 100)
                image.resize(qzr::LogDataSize - 50, 0xFF); // skip ahead
        }
        EXPECT_EQ(image.size(), qzr::LogDataSize);
        EXPECT_LE(largest, Zt46Unit::MaxReadoutBlockSize);
        EXPECT_TRUE(std::equal(image.end() - 50, image.end(), memory().end() - 50));
        if (blockSize == 256) {
            EXPECT_EQ(image, memory());
        }
    }
    EXPECT_EQ(readBlock(qzr::LogDataSize).size(), 2u) << "nothing beyond the memory";
    EXPECT_EQ(readBlock(0xFFFF).size(), 2u);
}

TEST_F(Zt46UnitLogger, DemoRecordingIsADayOfRoomTemperature)
{
    const LoggerRecording recording = temperatureDayRecording(800000000);
    EXPECT_EQ(recording, temperatureDayRecording(800000000)) << "deterministic";
    unit.loadLoggerRecording(recording);
    const auto log = memory();
    EXPECT_EQ(s32(log, 0), 800000000);
    EXPECT_EQ(u16(log, 8), 60u);
    EXPECT_EQ(log[10], 1);
    const std::size_t records = 24 * 60;
    EXPECT_EQ(unit.loggerFillPosition(), FirstRecord + 8 * records);
    EXPECT_EQ(unit.loggerState(), qzr::lsIdle);
    for (std::size_t k = 0; k < records; ++k) {
        const std::size_t at = FirstRecord + 8 * k;
        const auto minimum = s16(log, at);
        const auto maximum = s16(log, at + 2);
        const auto average = s32(log, at + 4) / 60;
        ASSERT_LE(minimum, average);
        ASSERT_GE(maximum, average);
        ASSERT_GT(minimum, 150);
        ASSERT_LT(maximum, 240);
    }
    EXPECT_EQ(log[FirstRecord + 8 * records], 0xFF);
}

TEST_F(Zt46UnitLogger, EachRecordHoldsMinimumMaximumAndSumOfItsIntervalsSamples)
{
    // A ramp of 700 uV a second with a step down every seventh second, so that
    // minimum and maximum fall on different seconds of each interval.
    unit.setInputSignal([](std::chrono::milliseconds t) {
        const auto second = t.count() / 1000;
        return 700.0 * double(second) - (second % 7 == 0 ? 9000.0 : 0.0);
    });
    unit.advanceTime(1500ms); // starts between two whole seconds of unit time
    start(0, 0, 5);

    std::vector<std::int16_t> samples;
    for (int second = 0; second < 20; ++second) {
        unit.advanceTime(1s);
        samples.push_back(unit.readings().userAdjusted);
    }
    // The logger's samples are taken on whole seconds; readings() at the
    // half-second between reads the same ramp value.
    const auto log = memory();
    for (std::size_t k = 0; k < 4; ++k) {
        const auto first = samples.begin() + 5 * k;
        const auto at = FirstRecord + 8 * k;
        EXPECT_EQ(s16(log, at), *std::min_element(first, first + 5)) << "record " << k;
        EXPECT_EQ(s16(log, at + 2), *std::max_element(first, first + 5)) << "record " << k;
        EXPECT_EQ(s32(log, at + 4), std::accumulate(first, first + 5, 0)) << "record " << k;
    }
    EXPECT_EQ(unit.loggerFillPosition(), FirstRecord + 4 * 8);
}

TEST_F(Zt46UnitLogger, AnIntervalOfZeroLogsEverySecond)
{
    start(0, 0, 0);
    unit.advanceTime(3s);
    EXPECT_EQ(unit.loggerState(), qzr::lsLogging);
    EXPECT_EQ(unit.loggerFillPosition(), FirstRecord + 3 * 8);
    EXPECT_EQ(u16(memory(), 8), 0u) << "the head keeps what was sent";
    EXPECT_EQ(s32(memory(), FirstRecord + 4), 1234);
}

TEST_F(Zt46UnitLogger, RunningTheClockAheadByHoursTurnsADelayIntoLogging)
{
    start(763588800, 12 * 3600, 60);
    unit.advanceTime(std::chrono::hours(12) - 1s);
    EXPECT_EQ(unit.loggerState(), qzr::lsArmed);
    EXPECT_EQ(unit.loggerRemainingDelay(), 1u);
    EXPECT_EQ(s32(status(), 2), 1);
    unit.advanceTime(1s + std::chrono::minutes(10));
    EXPECT_EQ(status()[8], qzr::lsLogging);
    EXPECT_EQ(unit.loggerRemainingDelay(), 0u);
    EXPECT_EQ(unit.loggerFillPosition(), FirstRecord + 10 * 8);

    // Once full, days more change nothing.
    unit.advanceTime(std::chrono::hours(24 * 60));
    EXPECT_EQ(unit.loggerState(), qzr::lsMemoryFull);
    EXPECT_EQ(unit.loggerFillPosition(), EndOfRecords);
    unit.advanceTime(std::chrono::hours(24 * 365));
    EXPECT_EQ(u16(status(), 6), EndOfRecords);
}

TEST_F(Zt46UnitLogger, RecordingBeyondTheMemoryIsCutAndFull)
{
    LoggerRecording recording;
    recording.records.assign(qzr::LogRecordCount + 10, LoggerRecord{1, 2, 3});
    unit.loadLoggerRecording(recording);
    EXPECT_EQ(unit.loggerState(), qzr::lsMemoryFull);
    EXPECT_EQ(unit.loggerFillPosition(), EndOfRecords);
}

} // namespace
} // namespace sim
