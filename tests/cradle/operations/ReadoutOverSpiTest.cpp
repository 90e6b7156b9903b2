#include "OperationsFixture.h"

#include "cradle/BridgeApi.h"
#include "cradle/LinkEndpoint.h"
#include "cradle/SpiLink.h"

namespace qzr::test {
namespace {

// The bridge cradle with the unit model on its SPI bus: every clocked byte
// goes to the unit, the byte clocked back is the unit's next one, 0xA5 while
// it has nothing to send, and 0xFF once the unit is pulled out.
class TUnitOnBridge : public TBridgeApi {
public:
    explicit TUnitOnBridge(sim::Zt46Unit& unit) : FUnit(unit) {}

    // The unit leaves after this many more clocked bytes.
    void PullOutAfter(std::size_t bytes) { FPullOutIn = bytes; }
    std::size_t ClockedSincePull() const { return FClockedSincePull; }
    bool Present() const { return FPresent; }

    TBridgeHandle OpenByIndex(std::uint32_t, std::uint32_t, std::uint32_t, std::uint16_t*,
                              std::uint32_t*) override
    {
        return this;
    }
    std::int32_t GetLastError() override { return 0; }
    std::int32_t XferSpiDataEx(TBridgeHandle, const std::uint8_t* tx, std::uint8_t* rx,
                               std::uint32_t*, std::uint32_t* size, std::uint32_t, std::uint32_t*,
                               std::uint32_t*, std::uint32_t*, std::uint32_t*, std::uint32_t*,
                               std::uint8_t*) override
    {
        Clock(tx, rx, *size);
        return 0;
    }
    std::int32_t XferSpiData(TBridgeHandle, const std::uint8_t* tx, std::uint8_t* rx,
                             std::uint32_t*, std::uint32_t* size, std::uint32_t) override
    {
        Clock(tx, rx, *size);
        return 0;
    }
    std::int32_t Close(TBridgeHandle) override { return 0; }

private:
    void Clock(const std::uint8_t* tx, std::uint8_t* rx, std::uint32_t size)
    {
        for (std::uint32_t i = 0; i < size; ++i) {
            if (FPullOutIn && (*FPullOutIn)-- == 0) {
                FPresent = false;
                FPullOutIn.reset();
            }
            if (!FPresent) {
                ++FClockedSincePull;
                rx[i] = 0xFF;
                continue;
            }
            rx[i] = FUnit.hasOutput() ? FUnit.takeOutputByte() : TSpiLink::IdleByte;
            FUnit.receiveByte(tx[i]);
        }
    }

    sim::Zt46Unit& FUnit;
    bool FPresent = true;
    std::optional<std::size_t> FPullOutIn;
    std::size_t FClockedSincePull = 0;
};

// The session core behind the SPI link, as the per-cradle object joins them.
class TSessionEndpoint : public TLinkEndpoint {
public:
    TSessionEndpoint(TFrameCodec& codec, TSessionProtocol& session)
        : FCodec(codec), FSession(session)
    {}
    bool OnCradle() const override { return FSession.OnCradle; }
    void SetOnCradle(bool onCradle) override { FSession.OnCradle = onCradle; }
    void ReceiveLinkByte(std::uint8_t byte) override { FSession.ReceiveLinkByte(byte); }
    bool ReceivingFrame() const override
    {
        return (FCodec.ProtocolState & (psData | psDataDLE)) != 0;
    }
    bool OutputPending() const override { return FCodec.OutputPending(); }
    std::uint8_t NextOutputByte() override { return FCodec.NextOutputByte(); }
    void SessionStarts() override { FSession.SessionStarts(); }
    void SessionEnds() override { FSession.SessionEnds(); }
    void UnitDetected() override { FSession.UnitDetected(); }
    void UnitGone() override { FSession.UnitGone(); }

private:
    TFrameCodec& FCodec;
    TSessionProtocol& FSession;
};

class ReadoutOverSpi : public OperationsFixture {
protected:
    void SetUp() override
    {
        link.Connect();
        for (int i = 0; i < 20 && session.SessionState != ssIdle; ++i)
            link.Poll();
        ASSERT_EQ(session.SessionState, ssIdle);
    }

    // Polls until the readout ends or the unit is gone, at most `polls` times.
    void pollReadout(int polls)
    {
        for (int i = 0; i < polls && session.SessionState == ssReadingLog && session.OnCradle; ++i)
            link.Poll();
    }

    TUnitOnBridge bridge{unit};
    TSessionEndpoint endpoint{codec, session};
    TSpiLink link{endpoint, bridge, [](bool) {}, 0x3A7C, 0x0146};
};

// Every sixtieth record logged, the rest erased: each block of the largest
// size holds long runs of 0xFF and one record that keeps the readout going.
sim::LoggerRecording SparseRecording()
{
    sim::LoggerRecording recording;
    recording.startTime = 763545600;
    for (std::size_t k = 0; k < LogRecordCount; ++k) {
        if (k % 60 == 0)
            recording.records.push_back({1, 2, static_cast<std::int32_t>(k)});
        else
            recording.records.push_back({-1, -1, -1});
    }
    return recording;
}

TEST_F(ReadoutOverSpi, LargestBlocksOfErasedBytesAreReadToTheEnd)
{
    unit.loadLoggerRecording(SparseRecording());
    unit.setReadoutBlockSize(sim::Zt46Unit::MaxReadoutBlockSize);
    operations.Readout.ReadLoggerBtnClick();
    pollReadout(3000);

    EXPECT_TRUE(session.OnCradle);
    ASSERT_EQ(window.completedImages.size(), 1u);
    EXPECT_EQ(window.completedImages[0], unit.loggerMemory());
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_EQ(session.errorCount(), 0u);
}

TEST_F(ReadoutOverSpi, AnAllErasedLargestBlockEndsTheReadoutWithTheUnitPresent)
{
    unit.loadLoggerRecording({763545600, 0, 60, 1, 20, {}});
    unit.setReadoutBlockSize(sim::Zt46Unit::MaxReadoutBlockSize);
    operations.Readout.ReadLoggerBtnClick();
    pollReadout(200);

    EXPECT_TRUE(session.OnCradle);
    ASSERT_EQ(window.completedImages.size(), 1u);
    EXPECT_EQ(window.completedImages[0], unit.loggerMemory());
}

TEST_F(ReadoutOverSpi, AUnitPulledOutInsideAFrameIsNoticedWithinASecond)
{
    unit.loadLoggerRecording(SparseRecording());
    unit.setReadoutBlockSize(sim::Zt46Unit::MaxReadoutBlockSize);
    operations.Readout.ReadLoggerBtnClick();
    link.Poll();             // the request goes out
    bridge.PullOutAfter(40); // inside the first reply
    pollReadout(200);

    EXPECT_FALSE(bridge.Present());
    EXPECT_FALSE(session.OnCradle);
    EXPECT_EQ(session.SessionState, ssNone);
    EXPECT_TRUE(window.completedImages.empty());
    // 4000 bit/s clock 500 bytes a second.
    EXPECT_LE(bridge.ClockedSincePull(), 520u);
}

} // namespace
} // namespace qzr::test
