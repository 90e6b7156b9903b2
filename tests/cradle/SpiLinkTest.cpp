#include "cradle/SpiLink.h"
#include "FakeBridge.h"
#include "FakeLinkEndpoint.h"
#include "cradle/ConnectionError.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace qzr::test {
namespace {

constexpr std::uint16_t Vid = 0x1111;
constexpr std::uint16_t Pid = 0x2222;

class SpiLinkTest : public ::testing::Test {
protected:
    void Connect()
    {
        link.Connect();
        ASSERT_TRUE(link.Connected());
    }

    TFakeLinkEndpoint endpoint;
    TFakeBridge bridge;
    std::vector<bool> timerSwitches;
    TSpiLink link{endpoint, bridge, [this](bool on) { timerSwitches.push_back(on); }, Vid, Pid};
};

TEST_F(SpiLinkTest, ConnectOpensTheFirstBridgeAndSetsUpPinFourAsChipSelect)
{
    Connect();
    EXPECT_EQ(bridge.openVid, Vid);
    EXPECT_EQ(bridge.openPid, Pid);
    EXPECT_EQ(bridge.openIndex, 0u);
    EXPECT_TRUE(bridge.openWithoutPath);
    EXPECT_EQ(bridge.setupHandle, bridge.handle);
    // tx byte, bit rate, size, CS mask, idle and active CS values, delays, mode
    EXPECT_EQ(bridge.setup,
              (std::vector<std::uint32_t>{0x00, 4000, 1, 0x10, 0x1FF, 0x1EF, 0, 0, 20, 0}));
    EXPECT_EQ(link.MCDeviceHandle(), bridge.handle);
    EXPECT_EQ(timerSwitches, std::vector<bool>{true});
}

TEST_F(SpiLinkTest, ConnectFailuresCarryTheLibraryCodeAndLeaveNothingOpen)
{
    struct Case {
        std::int32_t openResult;
        std::int32_t setupResult;
        const char* message;
        std::size_t closes;
    };
    const Case cases[] = {
        {-103, 0, "Failed to open connection: -103", 0},
        {-106, 0, "Failed to open connection: -106", 0},
        {0, -110, "Connection error: -110", 1},
    };
    for (const Case& c : cases) {
        TFakeBridge fake;
        fake.openResult = c.openResult;
        fake.setupResult = c.setupResult;
        bool timerOn = false;
        TSpiLink spi(
            endpoint, fake, [&](bool on) { timerOn = on; }, Vid, Pid);
        try {
            spi.Connect();
            ADD_FAILURE() << "no exception for " << c.message;
        } catch (const EConnectionError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_FALSE(spi.Connected());
        EXPECT_EQ(spi.MCDeviceHandle(), nullptr);
        EXPECT_EQ(fake.closed.size(), c.closes);
        EXPECT_FALSE(timerOn);
    }
}

TEST_F(SpiLinkTest, ConnectTakesTheFirstBridgeThatNobodyHolds)
{
    struct Case {
        std::uint32_t inUse;
        std::uint32_t count;
        std::int32_t result;
        std::uint32_t openedIndex;
    };
    const Case cases[] = {
        {0, 3, 0, 0},    {1, 3, 0, 1},    {2, 3, 0, 2},
        {2, 2, -106, 0}, {0, 0, -101, 0}, {1000, 1000, -106, 0},
    };
    for (const Case& c : cases) {
        TFakeBridge fake;
        fake.indexesInUse = c.inUse;
        fake.bridgeCount = c.count;
        TSpiLink spi(
            endpoint, fake, [](bool) {}, Vid, Pid);
        if (c.result == 0) {
            spi.Connect();
            EXPECT_TRUE(spi.Connected());
            EXPECT_EQ(fake.openIndex, c.openedIndex);
        } else {
            try {
                spi.Connect();
                ADD_FAILURE() << "no exception with " << c.inUse << " of " << c.count << " held";
            } catch (const EConnectionError& e) {
                EXPECT_EQ(e.what(), "Failed to open connection: " + std::to_string(c.result));
            }
            EXPECT_FALSE(spi.Connected());
            EXPECT_LE(fake.opens, static_cast<int>(TSpiLink::MaxBridgeIndexes))
                << "the search is bounded";
        }
    }
}

TEST_F(SpiLinkTest, PollSendsPendingBytesPaddedWithTheIdleByteToThirtyTwo)
{
    Connect();
    struct Case {
        std::size_t pending;
        std::size_t transferred;
    };
    for (const Case c : {Case{0, 32}, Case{5, 32}, Case{32, 32}, Case{48, 48}}) {
        endpoint.QueueOutput(c.pending, 0x10);
        bridge.transfers.clear();
        link.Poll();
        ASSERT_EQ(bridge.transfers.size(), 1u);
        const auto& transfer = bridge.transfers[0];
        ASSERT_EQ(transfer.sent.size(), c.transferred) << c.pending << " pending";
        for (std::size_t i = 0; i < c.transferred; ++i)
            EXPECT_EQ(transfer.sent[i], i < c.pending ? 0x10 + i : 0xA5) << "byte " << i;
        EXPECT_EQ(transfer.bitRate, 4000u);
        EXPECT_EQ(transfer.csMask, 0x10000000u);
    }
}

TEST_F(SpiLinkTest, APollAfterOneEndingInsideAFrameClocksAHundredAndTwentyEightBytes)
{
    Connect();
    endpoint.onCradle = true;
    bridge.replyFill = 0x42;
    const auto pollSizes = [&](int polls) {
        std::vector<std::size_t> sizes;
        for (int i = 0; i < polls; ++i) {
            bridge.transfers.clear();
            link.Poll();
            sizes.push_back(bridge.transfers.at(0).sent.size());
        }
        return sizes;
    };
    EXPECT_EQ(pollSizes(1), std::vector<std::size_t>{32});
    endpoint.receivingFrame = true;
    EXPECT_EQ(pollSizes(3), (std::vector<std::size_t>{32, 128, 128}));
    endpoint.QueueOutput(200, 0x10);
    EXPECT_EQ(pollSizes(1), std::vector<std::size_t>{200}) << "pending bytes all go";
    endpoint.receivingFrame = false;
    EXPECT_EQ(pollSizes(2), (std::vector<std::size_t>{128, 32}));
}

TEST_F(SpiLinkTest, TheFirstIdleByteDetectsTheUnit)
{
    Connect();
    TTraceCapture diagnostics;
    bridge.reply = {0x00, 0xFF, 0x13, 0xA5, 0x42};
    bridge.replyFill = 0x00;
    link.Poll();

    EXPECT_TRUE(endpoint.onCradle);
    EXPECT_EQ(endpoint.calls, (std::vector<std::string>{"SessionStarts", "UnitDetected"}));
    EXPECT_TRUE(diagnostics.Contains("On cradle."));
    // Bytes before and including the detecting byte are not link data.
    ASSERT_FALSE(endpoint.received.empty());
    EXPECT_EQ(endpoint.received.front(), 0x42);
    EXPECT_EQ(endpoint.received.size(), 28u);
}

TEST_F(SpiLinkTest, ThreeHundredSilentBytesRemoveTheUnit)
{
    Connect();
    for (std::uint8_t silent : {std::uint8_t{0x00}, std::uint8_t{0xFF}}) {
        SCOPED_TRACE(int{silent});
        endpoint.onCradle = true;
        endpoint.calls.clear();
        TTraceCapture diagnostics;

        // 299 silent bytes, then a live byte: the unit stays and the receiver
        // gets every byte.
        endpoint.received.clear();
        bridge.reply.assign(32, silent);
        for (int i = 0; i < 9; ++i)
            link.Poll();
        bridge.reply.assign(11, silent);
        bridge.reply.resize(32, 0x22);
        link.Poll();
        EXPECT_TRUE(endpoint.onCradle);
        EXPECT_EQ(endpoint.received.size(), 320u);
        EXPECT_EQ(link.SeenOnOffCradle(), 0);
        EXPECT_TRUE(endpoint.calls.empty());

        // 300 silent bytes: the 300th removes the unit and goes nowhere.
        endpoint.received.clear();
        bridge.reply.assign(32, silent);
        for (int i = 0; i < 10; ++i)
            link.Poll();
        EXPECT_FALSE(endpoint.onCradle);
        EXPECT_EQ(endpoint.received.size(), 299u);
        EXPECT_EQ(endpoint.calls, (std::vector<std::string>{"SessionEnds", "UnitGone"}));
        EXPECT_TRUE(diagnostics.Contains("Off cradle."));
    }
}

TEST_F(SpiLinkTest, ErasedBytesInsideAFrameKeepTheUnitUntilTheFrameEnds)
{
    Connect();
    endpoint.onCradle = true;
    endpoint.receivingFrame = true;
    bridge.replyFill = 0xFF;
    for (int i = 0; i < 5; ++i)
        link.Poll();
    EXPECT_TRUE(endpoint.onCradle) << "the erased bytes of a long readout block";
    EXPECT_EQ(endpoint.received.size(), 32u + 4 * 128);
    EXPECT_TRUE(endpoint.calls.empty());

    // The receiver gives the frame up: the next silent byte removes the unit.
    endpoint.receivingFrame = false;
    bridge.reply.assign(1, 0xFF);
    bridge.replyFill = 0x42;
    link.Poll();
    EXPECT_FALSE(endpoint.onCradle);
    EXPECT_EQ(endpoint.received.size(), 32u + 4 * 128);
    EXPECT_EQ(endpoint.calls, (std::vector<std::string>{"SessionEnds", "UnitGone"}));
}

TEST_F(SpiLinkTest, ThePollTakesAsManyBytesAsTheLibraryReports)
{
    struct Case {
        std::int64_t reported;
        std::size_t taken;
    };
    const Case cases[] = {{5, 5}, {0, 0}, {-1, 32}};
    Connect();
    endpoint.onCradle = true;
    bridge.replyFill = 0x22;
    for (const Case& c : cases) {
        endpoint.received.clear();
        bridge.reportedSize = c.reported;
        link.Poll();
        EXPECT_EQ(endpoint.received.size(), c.taken) << "reported " << c.reported;
    }
}

TEST_F(SpiLinkTest, ATransferErrorDisconnectsSilently)
{
    Connect();
    int lost = 0;
    link.OnLinkLost = [&] { ++lost; };
    bridge.transferResult = -111;
    EXPECT_NO_THROW(link.Poll());
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(link.Connected());
    EXPECT_EQ(link.MCDeviceHandle(), nullptr);
    EXPECT_EQ(bridge.closed, std::vector<TBridgeHandle>{bridge.handle});
    EXPECT_EQ(timerSwitches, (std::vector<bool>{true, false}));
    EXPECT_FALSE(TSpiLink::SpiBusy());
    EXPECT_TRUE(endpoint.received.empty());
}

TEST_F(SpiLinkTest, PollsOfAllLinksNeverNestAndTheBusyFlagSurvivesNoExit)
{
    Connect();
    TFakeLinkEndpoint otherEndpoint;
    TFakeBridge otherBridge;
    TSpiLink other(
        otherEndpoint, otherBridge, [](bool) {}, Vid, Pid);
    other.Connect();

    bool busyDuringTransfer = false;
    bridge.duringTransfer = [&] {
        busyDuringTransfer = TSpiLink::SpiBusy();
        other.Poll();
        link.Poll();
    };
    link.Poll();
    EXPECT_TRUE(busyDuringTransfer);
    EXPECT_EQ(bridge.transfers.size(), 1u);
    EXPECT_TRUE(otherBridge.transfers.empty());
    EXPECT_FALSE(TSpiLink::SpiBusy());

    bridge.duringTransfer = [] { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(link.Poll(), std::runtime_error);
    EXPECT_FALSE(TSpiLink::SpiBusy());
    other.Poll();
    EXPECT_EQ(otherBridge.transfers.size(), 1u);
}

} // namespace
} // namespace qzr::test
