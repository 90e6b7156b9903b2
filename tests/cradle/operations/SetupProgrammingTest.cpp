#include "OperationsFixture.h"

#include "cradle/operations/ProgressPercent.h"
#include "cradle/operations/RangeError.h"
#include "cradle/operations/SetupProgramming.h"

namespace qzr::test {
namespace {

class SetupProgramming : public OperationsFixture {
protected:
    // The unit's own bytes 52 to 63, which a run must carry unchanged.
    void giveTheUnitItsOwnBytes()
    {
        TSetupData image = unit.workingSetup();
        for (std::size_t i = SetupOffset::Carried; i < SetupDataSize; ++i)
            image[i] = static_cast<std::uint8_t>(0x50 + i);
        unit.setWorkingSetup(image);
    }

    void program(TNvmArea area)
    {
        operations.Programming.ProgramBtnClick(area, window.controls);
        exchange();
    }
};

TEST_F(SetupProgramming, AUserRunWritesThirtyTwoPairsAndStoresThemInTheUserArea)
{
    giveTheUnitItsOwnBytes();
    openSession();
    const TSetupData factoryBefore = unit.storedSetup(nvmFactory);
    window.controls.UserMultiplier = 1234;
    window.controls.Divider[2] = 4321;
    window.progress.clear();

    program(nvmUser);

    std::vector<std::uint8_t> expectedIds(32, msgWriteSetup);
    expectedIds.push_back(msgFlashUser);
    EXPECT_EQ(sentIds(), expectedIds);
    for (std::size_t pair = 0; pair < 32; ++pair) {
        ASSERT_EQ(sent[pair].size(), 6u);
        EXPECT_EQ(sent[pair][2] | sent[pair][3] << 8, int(2 * pair));
    }
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_FALSE(window.sessionTimerActive);
    EXPECT_EQ(window.stored, std::vector<TNvmArea>{nvmUser});
    EXPECT_EQ(unit.storedSetup(nvmUser), session.SetupData);
    EXPECT_EQ(unit.storedSetup(nvmFactory), factoryBefore);
    EXPECT_EQ(session.SetupData.UserMultiplier(), 1234);
    EXPECT_EQ(session.SetupData.AmpDivider(2), 4321);
    for (std::size_t i = SetupOffset::Carried; i < SetupDataSize; ++i)
        EXPECT_EQ(unit.storedSetup(nvmUser)[i], 0x50 + i) << "byte " << i;

    // The meter after each pair, halves to even (12.5 gives 12, 37.5 gives 38),
    // and it stays at 100.
    std::vector<int> meter{0};
    for (std::uint32_t index = 2; index <= 64; index += 2)
        meter.push_back(ProgressPercent(index, 64));
    EXPECT_EQ(window.progress, meter);
    EXPECT_EQ((std::vector<int>(meter.begin(), meter.begin() + 6)),
              (std::vector<int>{0, 3, 6, 9, 12, 16}));
    EXPECT_EQ(meter[12], 38);
    EXPECT_EQ(meter.back(), 100);
}

TEST_F(SetupProgramming, TheFactoryButtonStoresInTheFactoryArea)
{
    openSession();
    const TSetupData userBefore = unit.storedSetup(nvmUser);
    window.controls.Offset[0] = -77;
    program(nvmFactory);
    EXPECT_EQ(sentIds().back(), msgFlashFactory);
    EXPECT_EQ(window.stored, std::vector<TNvmArea>{nvmFactory});
    EXPECT_EQ(unit.storedSetup(nvmFactory).AmpOffset(0), -77);
    EXPECT_EQ(unit.storedSetup(nvmUser), userBefore);
    EXPECT_EQ(operations.Programming.WhatToFlash(), nvmFactory);
}

TEST_F(SetupProgramming, AnEchoThatDiffersStopsTheRunWithoutStoring)
{
    openSession();
    const TSetupData userBefore = unit.storedSetup(nvmUser);
    const TSetupData factoryBefore = unit.storedSetup(nvmFactory);
    unit.setWriteFaultAddress(0x12);
    program(nvmUser);

    EXPECT_EQ(sentIds(), std::vector<std::uint8_t>(10, msgWriteSetup)) << "pairs 0 to 0x12";
    ASSERT_TRUE(window.failedAddress.has_value());
    EXPECT_EQ(*window.failedAddress, 0x12);
    EXPECT_EQ(SetupAddressText(*window.failedAddress), "0012");
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_FALSE(window.sessionTimerActive) << "nothing resent behind the error dialog";
    EXPECT_TRUE(window.stored.empty());
    EXPECT_EQ(unit.storedSetup(nvmUser), userBefore);
    EXPECT_EQ(unit.storedSetup(nvmFactory), factoryBefore);

    sessionTicks(50);
    EXPECT_EQ(sent.size(), 10u);
}

TEST_F(SetupProgramming, ALinkCopyOutsideItsFieldStopsTheNextRunBeforeAnythingIsSent)
{
    openSession();
    window.SelectAmplifier(0);
    unit.setInputMicrovolts(-5000); // a raw reading below zero: 65000-odd unsigned
    window.ClickRealtime(true);
    window.linkFullScale = true;
    operations.Readings.RealTimerTimer();
    exchange();
    operations.Readings.RealTimerTimer();
    exchange();
    window.ClickRealtime(false);
    const std::int32_t divider = window.controls.Divider[0];
    ASSERT_GT(divider, 32767);
    sent.clear();

    const TSessionState before = session.SessionState;
    const bool multiModeBefore = session.MultiMode;
    try {
        operations.Programming.ProgramBtnClick(nvmFactory, window.controls);
        ADD_FAILURE() << "no range error";
    } catch (const ERangeError& error) {
        EXPECT_EQ(error.what(),
                  "Divider 1x: " + std::to_string(divider) + " is outside 0 to 32767");
    }
    EXPECT_FALSE(codec.OutputPending());
    exchange();
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(session.SessionState, before);
    EXPECT_EQ(session.MultiMode, multiModeBefore);
}

TEST_F(SetupProgramming, ALateEchoAfterTheRunChangesNothing)
{
    openSession();
    program(nvmUser);
    ASSERT_EQ(session.SessionState, ssIdle);
    // The unit answers a pair written once more (a resent request).
    codec.SendBlock(
        TSessionProtocol::Message(msgWriteSetup, {session.SessionID, 62, 0, session.SetupData[62],
                                                  session.SetupData[63]}),
        6);
    exchange();
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_FALSE(window.failedAddress.has_value());
    EXPECT_EQ(window.stored.size(), 1u);
}

} // namespace
} // namespace qzr::test
