#include "OperationsFixture.h"

#include "cradle/operations/ProgressPercent.h"
#include "sim/unit/DemoRecording.h"
#include "sim/unit/UnitFrameEncoder.h"

namespace qzr::test {
namespace {

sim::LoggerRecording FullRecording()
{
    sim::LoggerRecording recording;
    recording.startTime = 763545600;
    recording.interval = 60;
    recording.decimals = 1;
    for (std::size_t k = 0; k < LogRecordCount; ++k)
        recording.records.push_back({static_cast<std::int16_t>(k), static_cast<std::int16_t>(k + 9),
                                     static_cast<std::int32_t>(60 * k)});
    return recording;
}

class LogReadout : public OperationsFixture {
protected:
    void SetUp() override { openSession(); }

    void read()
    {
        window.progress.clear();
        operations.Readout.ReadLoggerBtnClick();
        EXPECT_EQ(session.SessionState, ssReadingLog);
        exchange();
    }

    // The 0x29 requests sent, by offset.
    std::vector<int> requestedOffsets() const
    {
        std::vector<int> offsets;
        for (const auto& message : sent)
            if (message.at(0) == msgReadLog)
                offsets.push_back(message.at(2) | message.at(3) << 8);
        return offsets;
    }

    void receiveBlock(const std::vector<std::uint8_t>& payload)
    {
        std::vector<std::uint8_t> message{msgReadLog, session.SessionID};
        message.insert(message.end(), payload.begin(), payload.end());
        for (std::uint8_t b : sim::encodeUnitFrame(message))
            session.ReceiveLinkByte(b);
    }
};

TEST_F(LogReadout, AFullLoggerIsReadInOneHundredAndTenBlocks)
{
    unit.loadLoggerRecording(FullRecording());
    read();

    const auto offsets = requestedOffsets();
    ASSERT_EQ(offsets.size(), 110u);
    for (std::size_t i = 0; i < offsets.size(); ++i)
        EXPECT_EQ(offsets[i], int(256 * i));
    ASSERT_EQ(window.completedImages.size(), 1u);
    EXPECT_EQ(window.completedImages[0], unit.loggerMemory());
    EXPECT_EQ(operations.Readout.LogData(), unit.loggerMemory());
    EXPECT_EQ(operations.Readout.LogDataIndex(), LogDataSize);
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_FALSE(window.sessionTimerActive);

    ASSERT_EQ(window.progress.size(), 112u);
    EXPECT_EQ(window.progress.front(), 0);
    EXPECT_EQ(window.progress[1], ProgressPercent(256, LogDataSize));
    EXPECT_EQ(window.progress[110], 100);
    EXPECT_EQ(window.progress.back(), 0) << "back to 0 once the image is handed over";
}

TEST_F(LogReadout, ANeverStartedLoggerEndsAfterOneErasedBlock)
{
    read();
    EXPECT_EQ(requestedOffsets(), std::vector<int>{0});
    ASSERT_EQ(window.completedImages.size(), 1u);
    EXPECT_FALSE(window.completedImages[0].HasData());
    EXPECT_EQ(window.completedImages[0], unit.loggerMemory());
    EXPECT_EQ(session.SessionState, ssIdle);
}

TEST_F(LogReadout, ABlockEndingInErasedBytesIsNotTheLast)
{
    // Head and five records fill 54 bytes of the first 254-byte block; the
    // remaining 200 are erased, and the next block, all erased, ends the read.
    sim::LoggerRecording recording = FullRecording();
    recording.records.resize(5);
    unit.loadLoggerRecording(recording);
    unit.setReadoutBlockSize(254);
    read();
    EXPECT_EQ(requestedOffsets(), (std::vector<int>{0, 254}));
    ASSERT_EQ(window.completedImages.size(), 1u);
    EXPECT_EQ(window.completedImages[0], unit.loggerMemory());
    EXPECT_EQ(window.completedImages[0].Record(4), (TLogRecord{4, 13, 240}));
    EXPECT_TRUE(window.completedImages[0].Record(5).Erased());
}

TEST_F(LogReadout, TheLargestBlocksAreReadToTheEnd)
{
    unit.loadLoggerRecording(FullRecording());
    unit.setReadoutBlockSize(sim::Zt46Unit::MaxReadoutBlockSize);
    read();
    EXPECT_EQ(requestedOffsets().size(), 56u); // 55 blocks of 508, the last 220 bytes
    ASSERT_EQ(window.completedImages.size(), 1u);
    EXPECT_EQ(window.completedImages[0], unit.loggerMemory());
}

TEST_F(LogReadout, ALastBlockPassingTheEndStoresUpToTheLastByte)
{
    operations.Readout.ReadLoggerBtnClick();
    sent.clear();
    codec.OutputIndex = codec.OutputCount; // the request went out
    for (int block = 0; block < 56; ++block)
        receiveBlock(std::vector<std::uint8_t>(500, static_cast<std::uint8_t>(block)));
    EXPECT_EQ(operations.Readout.LogDataIndex(), 28000);
    EXPECT_TRUE(window.completedImages.empty());

    receiveBlock(std::vector<std::uint8_t>(300, 0x77));
    EXPECT_EQ(operations.Readout.LogDataIndex(), LogDataSize);
    ASSERT_EQ(window.completedImages.size(), 1u);
    const TLogData& image = window.completedImages[0];
    EXPECT_EQ(image[27999], 55);
    EXPECT_EQ(image[28000], 0x77);
    EXPECT_EQ(image[LogDataSize - 1], 0x77);
    EXPECT_EQ(window.progress.back(), 0);
    EXPECT_EQ(session.SessionState, ssIdle);

    // A late block after the end opens nothing more.
    receiveBlock(std::vector<std::uint8_t>(100, 0x01));
    EXPECT_EQ(window.completedImages.size(), 1u);
}

TEST_F(LogReadout, AnEmptyBlockEndsTheReadLikeAnErasedOne)
{
    unit.loadLoggerRecording(FullRecording());
    operations.Readout.ReadLoggerBtnClick();
    codec.OutputIndex = codec.OutputCount;
    receiveBlock(std::vector<std::uint8_t>(256, 0x12));
    receiveBlock({});
    ASSERT_EQ(window.completedImages.size(), 1u);
    EXPECT_EQ(window.completedImages[0][255], 0x12);
    EXPECT_EQ(window.completedImages[0][256], 0xFF);
}

TEST_F(LogReadout, AUnitThatFallsSilentIsRejectedAndNoImageIsHandedOver)
{
    unit.loadLoggerRecording(FullRecording());
    unit.setSilent(true);
    read();
    sessionTicks(40);
    EXPECT_EQ(session.SessionState, ssNone);
    EXPECT_FALSE(session.OnCradle);
    EXPECT_TRUE(window.completedImages.empty());
    EXPECT_EQ(window.progress.back(), 0);
}

TEST_F(LogReadout, AFailingReceiverStillEndsTheReadout)
{
    class TThrowingReport : public TLogReadoutReport {
    public:
        void SetProgress(int percent) override { last = percent; }
        void ReadoutComplete(const TLogData&) override { throw std::runtime_error("no window"); }
        int last = -1;
    } report;
    TLogReadout readout(session, report);
    readout.ReadLoggerBtnClick();
    codec.OutputIndex = codec.OutputCount;
    std::vector<std::uint8_t> message{msgReadLog, session.SessionID};
    message.resize(2 + 64, 0xFF);
    for (std::uint8_t b : sim::encodeUnitFrame(message)) {
        codec.ReceiveByte(b);
        if (codec.BlockComplete()) {
            EXPECT_THROW(readout.ReplyReceived(codec), std::runtime_error);
        }
    }
    EXPECT_EQ(report.last, 0);
    EXPECT_EQ(session.SessionState, ssIdle);
}

} // namespace
} // namespace qzr::test
