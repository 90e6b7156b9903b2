#include <gtest/gtest.h>

#include <cmath>

#include "HidLinkClient.h"
#include "sim/hidcradle/HidCradle.h"

namespace {

using simtest::Bytes;
using simtest::HidLinkClient;
using namespace std::chrono_literals;

constexpr std::uint32_t Serial = 0x12345678;
constexpr std::uint8_t Empty = sim::HidCradle::TransmitterEmpty;
constexpr std::uint8_t Present = sim::HidCradle::UnitPresent;

class FakeHost : public sim::DeviceHost {
public:
    void sendInputReport(std::span<const std::uint8_t> report) override
    {
        reports.emplace_back(report.begin(), report.end());
    }
    bool readyForInputReport() const override { return ready; }
    void reenumerate(std::chrono::milliseconds) override {}
    void setDescriptor(const sim::DeviceDescriptor&) override {}

    std::vector<Bytes> reports;
    bool ready = true;
};

Bytes outputReport(std::uint8_t count, std::uint8_t reportId = 0)
{
    Bytes report(9, 0x55);
    report[0] = reportId;
    report[1] = count;
    return report;
}

// A cradle on a fake host, driven by a clock the test moves.
class HidCradleTest : public ::testing::Test {
protected:
    explicit HidCradleTest(sim::HidCradleTiming timing = {}) : cradle(timing)
    {
        cradle.onPlugged(true, host);
    }

    // Ticks at `time` after the start; returns the report sent then, if any.
    std::optional<Bytes> tickAt(std::chrono::nanoseconds time)
    {
        now = start + time;
        std::size_t before = host.reports.size();
        cradle.onTick(now, host);
        if (host.reports.size() == before) {
            return std::nullopt;
        }
        return host.reports.back();
    }

    // The next report, ticking millisecond by millisecond.
    std::optional<Bytes> nextReport()
    {
        for (int i = 0; i < 100; ++i) {
            if (auto report = tickAt(now - start + 1ms)) {
                return report;
            }
        }
        return std::nullopt;
    }

    HidLinkClient link()
    {
        return HidLinkClient([this] { return nextReport(); },
                             [this](const Bytes& report) {
                                 cradle.onOutputReport(report, now, host);
                                 return true;
                             });
    }

    void placeUnit()
    {
        cradle.placeUnit(std::make_unique<sim::Zt46Unit>(sim::UnitIdentity{Serial, 1, 0x14, 0}));
    }

    const sim::TimePoint start = sim::TimePoint(1000s);
    sim::TimePoint now = start;
    FakeHost host;
    sim::HidCradle cradle;
};

TEST_F(HidCradleTest, PresenceFlagFollowsTheUnit)
{
    EXPECT_EQ(tickAt(0ms).value()[1], Empty);
    placeUnit();
    EXPECT_EQ(tickAt(1ms).value()[1], Empty | Present);
    EXPECT_NE(cradle.removeUnit(), nullptr);
    EXPECT_EQ(tickAt(2ms).value()[1], Empty);
    EXPECT_EQ(cradle.removeUnit(), nullptr);
}

TEST_F(HidCradleTest, SecondUnitCannotBePlacedOnAnOccupiedCradle)
{
    placeUnit();
    EXPECT_THROW(placeUnit(), std::logic_error);
    EXPECT_EQ(cradle.unit()->identity().serialNumber, Serial);
}

TEST_F(HidCradleTest, ReportsFollowTheIntervalGrid)
{
    EXPECT_TRUE(tickAt(0us));
    EXPECT_EQ(cradle.nextTick(), start + 1ms);
    EXPECT_FALSE(tickAt(300us));
    EXPECT_TRUE(tickAt(1ms));
    // A late tick sends one report and the grid goes on from there.
    EXPECT_TRUE(tickAt(3500us));
    EXPECT_EQ(cradle.nextTick(), start + 4ms);
    for (const auto& report : host.reports) {
        EXPECT_EQ(report.size(), 9u);
        EXPECT_EQ(report[0], 0);
    }
}

TEST_F(HidCradleTest, ContinuousReportsWaitUntilTheHostIsReady)
{
    cradle.setTiming({0us, 0});
    EXPECT_EQ(cradle.nextTick(), sim::TimePoint::min());
    host.ready = false;
    EXPECT_FALSE(tickAt(0us));
    EXPECT_FALSE(tickAt(10us));
    host.ready = true;
    EXPECT_TRUE(tickAt(20us));
    EXPECT_TRUE(tickAt(30us));
}

class TransmitterEmptyFlag : public HidCradleTest, public ::testing::WithParamInterface<unsigned> {
protected:
    TransmitterEmptyFlag() : HidCradleTest({1ms, GetParam()}) {}
};

TEST_P(TransmitterEmptyFlag, IsClearWhileTheCradleStillHoldsBytesForTheUnit)
{
    placeUnit();
    ASSERT_TRUE(tickAt(0ms));
    cradle.onOutputReport(outputReport(7), now, host);
    // The bytes start on the line at the next tick and take 7 byte times.
    auto lineTime = GetParam() == 0 ? 0ns : 7 * (1'000'000'000ns / GetParam());
    int firstEmpty = -1;
    for (int ms = 1; ms <= 20 && firstEmpty < 0; ++ms) {
        auto report = tickAt(std::chrono::milliseconds(ms));
        ASSERT_TRUE(report);
        if ((*report)[1] & Empty) {
            firstEmpty = ms;
        }
    }
    auto expected = 1 + static_cast<int>(std::ceil(lineTime / 1.0ms));
    EXPECT_EQ(firstEmpty, GetParam() == 0 ? 1 : expected);
    EXPECT_EQ(cradle.bytesToUnit(), 7u);
}

INSTANTIATE_TEST_SUITE_P(ByteRates, TransmitterEmptyFlag, ::testing::Values(0u, 960u, 9600u));

TEST_F(HidCradleTest, OutputReportsTheCradleCannotUnderstandAreIgnored)
{
    placeUnit();
    ASSERT_TRUE(tickAt(0ms));
    for (Bytes report : {outputReport(0), outputReport(8), outputReport(0xFF), outputReport(1, 1),
                         Bytes{0, 1, 0x10}}) {
        cradle.onOutputReport(report, now, host);
    }
    for (int ms = 1; ms < 30; ++ms) {
        ASSERT_EQ(tickAt(std::chrono::milliseconds(ms)).value()[1], Empty | Present);
    }
    EXPECT_EQ(cradle.bytesToUnit(), 0u);
}

class UnitLink : public HidCradleTest, public ::testing::WithParamInterface<unsigned> {
protected:
    UnitLink() : HidCradleTest({1ms, GetParam()}) {}
};

TEST_P(UnitLink, IdentificationIsAnsweredThroughTheReports)
{
    placeUnit();
    auto client = link();
    ASSERT_TRUE(client.waitForPresence(true));
    ASSERT_TRUE(client.sendMessage({0x00}));
    auto answer = client.receiveMessage();
    ASSERT_TRUE(answer);
    EXPECT_EQ((*answer)[0], 0x00);
    EXPECT_EQ((*answer)[1], 0x78);
    EXPECT_EQ((*answer)[4], 0x12);
    for (const auto& report : host.reports) {
        std::size_t count = report[1] & 0x07;
        // At 960 bytes/s a 1 ms report carries at most one byte from the unit.
        if (GetParam() == 960) {
            EXPECT_LE(count, 1u);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ByteRates, UnitLink, ::testing::Values(0u, 960u));

TEST_F(HidCradleTest, LongAnswerWaitsInTheUnitWhileTheCradleBufferIsFull)
{
    cradle.setTiming({1ms, 0});
    placeUnit();
    auto client = link();
    ASSERT_TRUE(client.waitForPresence(true));
    ASSERT_TRUE(client.sendMessage({0x00}));
    ASSERT_TRUE(client.receiveMessage());
    ASSERT_TRUE(client.sendMessage({0x01, 0x78, 0x56, 0x34, 0x12, 0x07}));
    ASSERT_TRUE(client.receiveMessage());
    // A 256-byte logger block is far more than the cradle's buffer holds.
    ASSERT_TRUE(client.sendMessage({0x29, 0x07, 0x00, 0x00}));
    cradle.setSilent(true);
    for (int ms = 0; ms < 50; ++ms) {
        EXPECT_FALSE(tickAt(now - start + 1ms));
        EXPECT_EQ(cradle.nextTick(), now + 1ms); // silent, but not restless
    }
    EXPECT_GT(cradle.unit()->pendingOutputBytes(), 0u);
    cradle.setSilent(false);
    auto block = client.receiveMessage();
    ASSERT_TRUE(block);
    EXPECT_EQ((*block)[0], 0x29);
    EXPECT_EQ(block->size(), 2 + sim::Zt46Unit::DefaultReadoutBlockSize);
}

TEST_F(HidCradleTest, UnpluggedCradleSendsNothingWhileTheUnitClockRuns)
{
    placeUnit();
    ASSERT_TRUE(tickAt(0ms));
    cradle.onOutputReport(outputReport(7), now, host);
    cradle.onPlugged(false, host);
    auto unitTimeBefore = cradle.unit()->unitTime();
    for (auto time = 100ms; time <= 5000ms; time += 100ms) {
        EXPECT_FALSE(tickAt(time));
    }
    EXPECT_EQ(cradle.unit()->unitTime() - unitTimeBefore, 5000ms);
    cradle.onOutputReport(outputReport(7), now, host);
    cradle.onPlugged(true, host);
    // Plugged in again: the bytes held before are gone and none came in while away.
    EXPECT_EQ(tickAt(5001ms).value()[1], Empty | Present);
    EXPECT_EQ(cradle.bytesToUnit(), 0u);
}

struct FaultCase {
    const char* name;
    double dropRate;
    double corruptionRate;
};

class LinkFaultsOnTheCradle : public HidCradleTest,
                              public ::testing::WithParamInterface<FaultCase> {
protected:
    LinkFaultsOnTheCradle() : HidCradleTest({1ms, 0}) {}
};

TEST_P(LinkFaultsOnTheCradle, SpoilTheRequestSoTheUnitDoesNotAnswer)
{
    placeUnit();
    cradle.faults().setDropRate(GetParam().dropRate);
    cradle.faults().setCorruptionRate(GetParam().corruptionRate);
    auto client = link();
    ASSERT_TRUE(client.waitForPresence(true));
    ASSERT_TRUE(client.sendMessage({0x00}));
    EXPECT_FALSE(client.receiveMessage(200));
    EXPECT_EQ(cradle.unit()->framesAccepted(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Faults, LinkFaultsOnTheCradle,
                         ::testing::Values(FaultCase{"Dropped", 1.0, 0.0},
                                           FaultCase{"Corrupted", 0.0, 1.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LinkFaults, RatesOutsideZeroToOneAreRefused)
{
    sim::LinkFaults faults;
    for (double bad : {-0.1, 1.5, std::nan("")}) {
        EXPECT_THROW(faults.setDropRate(bad), std::invalid_argument) << bad;
        EXPECT_THROW(faults.setCorruptionRate(bad), std::invalid_argument) << bad;
    }
    EXPECT_EQ(faults.dropRate(), 0.0);
}

TEST(LinkFaults, CorruptionAlwaysChangesTheByteAndRepeatsWithTheSeed)
{
    sim::LinkFaults first(7);
    sim::LinkFaults second(7);
    first.setCorruptionRate(1.0);
    second.setCorruptionRate(1.0);
    for (int byte = 0; byte < 256; ++byte) {
        auto changed = first.pass(static_cast<std::uint8_t>(byte));
        ASSERT_TRUE(changed);
        EXPECT_NE(*changed, byte);
        EXPECT_EQ(changed, second.pass(static_cast<std::uint8_t>(byte)));
    }
}

TEST(LinkFaults, PartialDropRateLosesAboutThatShare)
{
    sim::LinkFaults faults(3);
    faults.setDropRate(0.25);
    int lost = 0;
    for (int i = 0; i < 10000; ++i) {
        lost += faults.pass(0x42) ? 0 : 1;
    }
    EXPECT_NEAR(lost, 2500, 250);
}

} // namespace
