#include "OperationsFixture.h"

#include "sim/unit/UnitFrameEncoder.h"

namespace qzr::test {
namespace {

class LiveReadings : public OperationsFixture {
protected:
    void SetUp() override
    {
        openSession();
        // The first image set the selection: its write waits for the first tick.
        ASSERT_TRUE(operations.Readings.AdAmpSelectBoxWasClicked);
        operations.Readings.AdAmpSelectBoxWasClicked = false;
    }

    void tick()
    {
        operations.Readings.RealTimerTimer();
        exchange();
    }

    // A 0x21 reply carrying `low` `high` as the raw input.
    void receiveRaw(std::uint8_t low, std::uint8_t high)
    {
        const std::vector<std::uint8_t> message{
            msgRealtime, session.SessionID, low, high, 0x10, 0x0E, 0x01, 0x00, 0xFF, 0xFF};
        for (std::uint8_t b : sim::encodeUnitFrame(message))
            session.ReceiveLinkByte(b);
    }
};

TEST_F(LiveReadings, ShowRealtimeAsksOnceATickAndShowsTheFourReadings)
{
    unit.setInputMicrovolts(12345);
    window.ClickRealtime(true);
    EXPECT_EQ(session.SessionState, ssRealtime);
    EXPECT_TRUE(window.sessionTimerActive);
    EXPECT_TRUE(window.realtimeTimerActive);
    EXPECT_TRUE(sent.empty()) << "the first request goes with the first tick";

    tick();
    tick();
    EXPECT_EQ(sentIds(), (std::vector<std::uint8_t>{msgRealtime, msgRealtime}));
    ASSERT_EQ(window.readings.size(), 2u);
    const auto expected = unit.readings();
    EXPECT_EQ(window.readings.back().RawInput, expected.rawInput);
    EXPECT_EQ(window.readings.back().RawBattery, expected.rawBattery);
    EXPECT_EQ(window.readings.back().Calibrated, expected.calibrated);
    EXPECT_EQ(window.readings.back().UserAdjusted, expected.userAdjusted);
    EXPECT_EQ(session.SessionState, ssRealtime);

    const int cleared = window.readingsCleared;
    window.ClickRealtime(false);
    EXPECT_EQ(window.readingsCleared, cleared + 1);
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_FALSE(window.sessionTimerActive);
    EXPECT_FALSE(window.realtimeTimerActive);
}

TEST_F(LiveReadings, ARangeChangeReplacesOneRequestByTheSingleWrite)
{
    window.ClickRealtime(true);
    tick();
    window.SelectAmplifier(4);
    tick();
    tick();
    EXPECT_EQ(sentIds(), (std::vector<std::uint8_t>{msgRealtime, msgWriteSetup, msgRealtime}));
    EXPECT_EQ(sent[1], (std::vector<std::uint8_t>{msgWriteSetup, session.SessionID, 36, 0, 8, 0}));
    EXPECT_FALSE(session.MultiMode);
    EXPECT_EQ(session.SetupData.AmplifierIndex(), 4);
    EXPECT_EQ(unit.workingSetup().AmplifierIndex(), 4);
    EXPECT_EQ(window.readings.size(), 2u) << "the echo shows nothing";
    EXPECT_EQ(session.SessionState, ssRealtime);
}

TEST_F(LiveReadings, LinkCopiesTakeTheRawReadingUnsigned)
{
    struct Case {
        bool offset;
        bool fullScale;
        std::int32_t offsetAfter;
        std::int32_t dividerAfter;
    };
    // Raw 0x38 0xFF: -200 shown, 65336 copied; the 2x offset starts at 40.
    const Case cases[] = {
        {true, false, 65336, 999},
        {false, true, 40, 65296},
        {true, true, 65336, 0},
        {false, false, 40, 999},
    };
    window.ClickRealtime(true);
    window.SelectAmplifier(1);
    for (const Case& c : cases) {
        window.controls.Offset[1] = 40;
        window.controls.Divider[1] = 999;
        window.linkOffset = c.offset;
        window.linkFullScale = c.fullScale;
        receiveRaw(0x38, 0xFF);
        EXPECT_EQ(window.readings.back().RawInput, -200);
        EXPECT_EQ(window.controls.Offset[1], c.offsetAfter);
        EXPECT_EQ(window.controls.Divider[1], c.dividerAfter);
        EXPECT_EQ(window.controls.Offset[0], unit.workingSetup().AmpOffset(0)) << "other ranges";
    }
}

TEST_F(LiveReadings, WithoutASelectedRangeNoFieldChanges)
{
    window.ClickRealtime(true);
    window.controls.AmplifierIndex = -1;
    window.linkOffset = window.linkFullScale = true;
    const TSetupControls before = window.controls;
    receiveRaw(0x10, 0x27);
    EXPECT_EQ(window.readings.back().RawInput, 10000);
    EXPECT_EQ(window.controls.Offset, before.Offset);
    EXPECT_EQ(window.controls.Divider, before.Divider);
}

TEST_F(LiveReadings, AnOperationThatUnchecksShowRealtimeKeepsItsStateAndTimer)
{
    // Programming started while the readings run (the sensor wizard's path):
    // the enable rules uncheck "Show realtime", whose handler must not end the
    // run.
    window.ClickRealtime(true);
    tick();
    sent.clear();
    operations.Programming.ProgramBtnClick(nvmUser, window.controls);
    EXPECT_FALSE(window.realtimeChecked);
    EXPECT_FALSE(window.realtimeTimerActive);
    EXPECT_EQ(session.SessionState, ssSendingSetup);
    EXPECT_TRUE(window.sessionTimerActive);
    exchange();
    EXPECT_EQ(sent.size(), 33u);
    EXPECT_EQ(window.stored, std::vector<TNvmArea>{nvmUser});
    EXPECT_EQ(session.SessionState, ssIdle);
}

TEST_F(LiveReadings, TheSessionEndingStopsTheReadings)
{
    window.ClickRealtime(true);
    window.linkOffset = true;
    session.OnCradle = false;
    session.SessionEnds();
    EXPECT_FALSE(window.realtimeChecked);
    EXPECT_FALSE(window.realtimeTimerActive);
    EXPECT_FALSE(window.linkOffset);
    EXPECT_EQ(session.SessionState, ssNone);
}

} // namespace
} // namespace qzr::test
