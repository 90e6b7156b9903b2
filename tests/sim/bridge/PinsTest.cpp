// Pin levels, directions, chip-select lines and the interrupt counter.
#include <vector>

#include <gtest/gtest.h>

#include "BridgeChipTestSupport.h"
#include "sim/bridge/ReportFields.h"

namespace {

using namespace bridge_test;
using namespace sim::vexa;

constexpr std::uint16_t bit(unsigned pin)
{
    return static_cast<std::uint16_t>(1u << pin);
}

Report setPinValues(std::uint16_t values)
{
    Report command = makeCommand({cmd::SetPinValues});
    putU16(command, 4, values);
    return command;
}

Report setPinDirections(std::uint16_t directions)
{
    Report command = makeCommand({cmd::SetPinDirections});
    putU16(command, 4, directions);
    return command;
}

TEST(Pins, LevelsFollowDesignationDirectionLatchAndOutsideLevels)
{
    // Pin 0 output, pin 1 input, pin 2 chip select, pin 3 dedicated input,
    // pin 7 dedicated bus-release acknowledge.
    sim::VexaBridgeChip chip;
    sim::ChipSettings settings = chip.currentChipSettings();
    settings.pinDesignations = {pin::Gpio, pin::Gpio, pin::ChipSelect, pin::Dedicated, pin::Gpio,
                                pin::Gpio, pin::Gpio, pin::Dedicated,  pin::Gpio};
    roundTrip(chip, chipSettingsCommand(settings));
    roundTrip(chip, setPinDirections(bit(1)));
    EXPECT_EQ(getU16(roundTrip(chip, {cmd::GetPinDirections}), 4), bit(1));

    sim::SpiTransferSettings spi = chip.currentSpiSettings();
    spi.idleCsValues = bit(2);
    spi.activeCsValues = 0;
    roundTrip(chip, spiSettingsCommand(cmd::SetSpiSettings, spi));

    struct Case {
        std::uint16_t latch;
        std::uint16_t outside;
        std::uint16_t expected;
    };
    const Case cases[] = {
        {0x0000, 0x0000, bit(2)},
        {0xFFFF, 0x0000, PinMask & ~(bit(1) | bit(3) | bit(7))},
        {0x0000, PinMask, bit(1) | bit(2) | bit(3)},
        {bit(0), bit(1), bit(0) | bit(1) | bit(2)},
    };
    for (const Case& c : cases) {
        chip.setOutsideLevels(c.outside);
        EXPECT_EQ(getU16(roundTrip(chip, setPinValues(c.latch)), 4), c.expected)
            << "latch " << c.latch << " outside " << c.outside;
        EXPECT_EQ(getU16(roundTrip(chip, {cmd::GetPinValues}), 4), c.expected);
    }

    roundTrip(chip, {cmd::BusRelease, 1});
    EXPECT_EQ(getU16(roundTrip(chip, {cmd::GetPinValues}), 4) & bit(7), bit(7));

    roundTrip(chip, {cmd::SpiTransfer, 1, 0, 0, 0x00});
    EXPECT_EQ(getU16(roundTrip(chip, {cmd::GetPinValues}), 4) & bit(2), 0)
        << "chip select active during the transaction";
}

TEST(Pins, TheLiveLatchAndDirectionsAreTheCurrentChipSettings)
{
    sim::VexaBridgeChip chip;
    roundTrip(chip, setPinValues(0x0A5A));
    roundTrip(chip, setPinDirections(0x0F0F));
    const Report current = roundTrip(chip, {cmd::GetChipSettings});
    EXPECT_EQ(getU16(current, 13), 0x0A5A & PinMask);
    EXPECT_EQ(getU16(current, 15), 0x0F0F & PinMask);
}

struct InterruptCase {
    std::uint8_t mode;
    unsigned expected;
};

class InterruptCounter : public ::testing::TestWithParam<InterruptCase> {};

// Pin 6 goes from high to low, high, low, high, low: 3 falling edges, 2 rising
// edges, 2 low pulses ended (at their rising edge), 3 high pulses ended (at
// their falling edge).
TEST_P(InterruptCounter, CountsTheEdgesOrPulsesOfItsModeOnPin6)
{
    sim::VexaBridgeChip chip;
    sim::ChipSettings settings = chip.currentChipSettings();
    settings.pinDesignations[6] = pin::Dedicated;
    settings.settingsByte = static_cast<std::uint8_t>(GetParam().mode << 1);
    roundTrip(chip, chipSettingsCommand(settings));

    for (bool high : {false, true, false, true, false})
        chip.setOutsideLevels(high ? PinMask : PinMask & ~bit(6));

    EXPECT_EQ(getU16(roundTrip(chip, {cmd::InterruptCount, 0}), 4), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, InterruptCounter,
                         ::testing::Values(InterruptCase{0, 0}, InterruptCase{1, 3},
                                           InterruptCase{2, 2}, InterruptCase{3, 2},
                                           InterruptCase{4, 3}));

TEST(InterruptCounterReset, ANonZeroSelectorResetsAfterReportingAndOnlyDedicatedPin6Counts)
{
    sim::VexaBridgeChip chip;
    sim::ChipSettings settings = chip.currentChipSettings();
    settings.settingsByte = 1 << 1;
    roundTrip(chip, chipSettingsCommand(settings));
    chip.setOutsideLevels(0);
    chip.setOutsideLevels(PinMask);
    EXPECT_EQ(getU16(roundTrip(chip, {cmd::InterruptCount, 0}), 4), 0) << "pin 6 is a GPIO";

    settings.pinDesignations[6] = pin::Dedicated;
    roundTrip(chip, chipSettingsCommand(settings));
    chip.setOutsideLevels(0);
    chip.setOutsideLevels(PinMask);
    chip.setOutsideLevels(0);

    EXPECT_EQ(getU16(roundTrip(chip, {cmd::InterruptCount, 0}), 4), 2);
    EXPECT_EQ(getU16(roundTrip(chip, {cmd::InterruptCount, 0}), 4), 2);
    EXPECT_EQ(getU16(roundTrip(chip, {cmd::InterruptCount, 1}), 4), 2);
    EXPECT_EQ(getU16(roundTrip(chip, {cmd::InterruptCount, 0}), 4), 0);
}

} // namespace
