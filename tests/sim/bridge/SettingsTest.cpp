// Current and power-up settings: independence, restart, what the chip applies.
#include <gtest/gtest.h>

#include "BridgeChipTestSupport.h"
#include "sim/bridge/ReportFields.h"
#include "sim/bridge/SettingsRecords.h"

namespace {

using namespace bridge_test;
using namespace sim::vexa;

sim::SpiTransferSettings spiSettingsIn(const Report& response)
{
    return takeSpiTransferSettings(response);
}

sim::SpiTransferSettings otherSpiSettings(std::uint32_t bitRate)
{
    return {.bitRate = bitRate,
            .idleCsValues = 0x0155,
            .activeCsValues = 0x00AA,
            .delay1 = 1,
            .delay2 = 2,
            .delay3 = 3,
            .txferSize = 0x1234,
            .spiMode = 3};
}

TEST(SpiSettings, CurrentAndPowerUpAreKeptApartUntilARestartLoadsThePowerUpOnes)
{
    sim::VexaBridgeChip chip;
    const sim::SpiTransferSettings factory = chip.nvram().spiSettings;
    const sim::SpiTransferSettings current = otherSpiSettings(100000);
    const sim::SpiTransferSettings powerUp = otherSpiSettings(250000);

    EXPECT_EQ(spiSettingsIn(roundTrip(chip, spiSettingsCommand(cmd::SetSpiSettings, current))),
              current);
    EXPECT_EQ(spiSettingsIn(roundTrip(chip, {cmd::GetSpiSettings})), current);
    EXPECT_EQ(spiSettingsIn(roundTrip(chip, {cmd::ReadNvram, nv::SpiSettings})), factory);

    EXPECT_EQ(spiSettingsIn(roundTrip(chip, spiSettingsCommand(cmd::WriteNvram, powerUp))),
              powerUp);
    EXPECT_EQ(spiSettingsIn(roundTrip(chip, {cmd::ReadNvram, nv::SpiSettings})), powerUp);
    EXPECT_EQ(spiSettingsIn(roundTrip(chip, {cmd::GetSpiSettings})), current);

    chip.receiveCommand(makeCommand({cmd::Reset, cmd::ResetKey1, cmd::ResetKey2}));
    EXPECT_FALSE(chip.hasResponse());
    EXPECT_TRUE(chip.takeRestartRequest());
    EXPECT_FALSE(chip.takeRestartRequest());
    EXPECT_EQ(spiSettingsIn(roundTrip(chip, {cmd::GetSpiSettings})), powerUp);
}

TEST(SpiSettings, TheChipAppliesItsBitRateRangeAndTheLowTwoModeBits)
{
    struct Case {
        std::uint32_t wantedRate;
        std::uint8_t wantedMode;
        std::uint32_t appliedRate;
        std::uint8_t appliedMode;
    };
    const Case cases[] = {
        {0, 0, 1500, 0},
        {1499, 1, 1500, 1},
        {1500, 2, 1500, 2},
        {4000, 3, 4000, 3},
        {12'000'000, 4, 12'000'000, 0},
        {12'000'001, 7, 12'000'000, 3},
    };
    for (std::uint8_t code : {cmd::SetSpiSettings, cmd::WriteNvram}) {
        for (const Case& c : cases) {
            sim::VexaBridgeChip chip;
            sim::SpiTransferSettings wanted = otherSpiSettings(c.wantedRate);
            wanted.spiMode = c.wantedMode;
            const auto applied = spiSettingsIn(roundTrip(chip, spiSettingsCommand(code, wanted)));
            EXPECT_EQ(applied.bitRate, c.appliedRate) << "command " << int(code);
            EXPECT_EQ(applied.spiMode, c.appliedMode) << "command " << int(code);
            EXPECT_EQ(applied.txferSize, wanted.txferSize);
        }
    }
}

sim::ChipSettings otherChipSettings()
{
    return {.pinDesignations = {2, 1, 1, 0, 0, 0, 2, 2, 0},
            .defaultOutputs = 0x0123,
            .defaultDirections = 0x0180,
            .settingsByte = 0x17};
}

TEST(ChipSettings, CurrentAndPowerUpAreKeptApartAndTheProtectionByteFollowsThePowerUpRecord)
{
    sim::VexaBridgeChip chip;
    const sim::ChipSettings factory = chip.nvram().chipSettings;
    const sim::ChipSettings changed = otherChipSettings();

    EXPECT_EQ(roundTrip(chip, chipSettingsCommand(changed))[1], status::Ok);
    EXPECT_EQ(takeChipSettings(roundTrip(chip, {cmd::GetChipSettings})), changed);
    Report powerUp = roundTrip(chip, {cmd::ReadNvram, nv::ChipSettings});
    EXPECT_EQ(takeChipSettings(powerUp), factory);
    EXPECT_EQ(powerUp[18], access::Open);

    EXPECT_EQ(roundTrip(chip, powerUpChipSettingsCommand(changed, access::Open))[1], status::Ok);
    powerUp = roundTrip(chip, {cmd::ReadNvram, nv::ChipSettings});
    EXPECT_EQ(takeChipSettings(powerUp), changed);
    EXPECT_EQ(powerUp[18], access::Open);
}

TEST(ChipSettings, DesignationsAbove2AndInterruptModesAbove4AreRefusedAndChangeNothing)
{
    sim::ChipSettings badDesignation = otherChipSettings();
    badDesignation.pinDesignations[8] = 3;
    sim::ChipSettings badMode = otherChipSettings();
    badMode.settingsByte = 5 << 1;
    sim::ChipSettings highestMode = otherChipSettings();
    highestMode.settingsByte = 4 << 1;

    for (const auto& [settings, accepted] :
         {std::pair{badDesignation, false}, std::pair{badMode, false},
          std::pair{highestMode, true}}) {
        sim::VexaBridgeChip chip;
        const sim::ChipSettings before = chip.currentChipSettings();
        const sim::ChipSettings powerUpBefore = chip.nvram().chipSettings;
        const std::uint8_t expected = accepted ? status::Ok : status::Unsupported;
        EXPECT_EQ(roundTrip(chip, chipSettingsCommand(settings))[1], expected);
        EXPECT_EQ(roundTrip(chip, powerUpChipSettingsCommand(settings, access::Open))[1], expected);
        if (!accepted) {
            EXPECT_EQ(chip.currentChipSettings(), before);
            EXPECT_EQ(chip.nvram().chipSettings, powerUpBefore);
        }
    }
}

TEST(Restart, LoadsPowerUpSettingsAndClearsPinsCounterTransferAndPasswordEntry)
{
    sim::VexaBridgeChip chip;
    sim::ChipSettings counting = chip.currentChipSettings();
    counting.pinDesignations[6] = pin::Dedicated;
    counting.settingsByte = 1 << 1;
    roundTrip(chip, chipSettingsCommand(counting));
    chip.setOutsideLevels(PinMask & ~(1u << 6));
    roundTrip(chip, {cmd::SetPinDirections, 0, 0, 0, 0x0F});
    roundTrip(chip, {cmd::SpiTransfer, 1, 0, 0, 0x55});
    ASSERT_TRUE(chip.transactionOpen());
    ASSERT_EQ(getU16(roundTrip(chip, {cmd::InterruptCount, 0}), 4), 1);

    chip.receiveCommand(makeCommand({cmd::Reset, cmd::ResetKey1, cmd::ResetKey2}));

    EXPECT_FALSE(chip.hasResponse());
    EXPECT_FALSE(chip.transactionOpen());
    EXPECT_EQ(chip.currentChipSettings(), chip.nvram().chipSettings);
    EXPECT_EQ(getU16(roundTrip(chip, {cmd::GetPinDirections}), 4),
              chip.nvram().chipSettings.defaultDirections);
    EXPECT_EQ(getU16(roundTrip(chip, {cmd::InterruptCount, 0}), 4), 0);
    const Report status = roundTrip(chip, {cmd::Status});
    EXPECT_EQ(status[3], 0) << "no bus owner";
    EXPECT_EQ(status[10], 0) << "engine idle";
}

} // namespace
