// Every response is a full 64-byte report: the header, the bytes of the
// command's layout, then zeros.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "BridgeChipTestSupport.h"
#include "sim/bridge/VexaProtocol.h"

namespace {

using namespace bridge_test;
using namespace sim::vexa;

struct LayoutCase {
    std::string name;
    std::function<Report(const sim::VexaBridgeChip&)> command;
    std::size_t layoutLength;
    std::uint8_t offset2;
};

class ResponseLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ResponseLayout, EchoesTheCommandSucceedsAndLeavesTheRestOfTheReportZero)
{
    sim::VexaBridgeChip chip;
    const LayoutCase& c = GetParam();
    const Report command = c.command(chip);
    const Report response = roundTrip(chip, command);

    EXPECT_EQ(response[0], command[0]);
    EXPECT_EQ(response[1], status::Ok);
    EXPECT_EQ(response[2], c.offset2);
    for (std::size_t i = c.layoutLength; i < ReportSize; ++i)
        EXPECT_EQ(response[i], 0) << "offset " << i;
}

Report fixed(std::initializer_list<std::uint8_t> bytes)
{
    return makeCommand(bytes);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCommand, ResponseLayout,
    ::testing::Values(
        LayoutCase{"Status", [](auto&) { return fixed({cmd::Status}); }, 11, 0},
        LayoutCase{"Cancel", [](auto&) { return fixed({cmd::CancelTransfer}); }, 6, 0},
        LayoutCase{"InterruptCount",
                   [](auto&) {
                       return fixed({cmd::InterruptCount, 1});
                   },
                   6, 0},
        LayoutCase{"GetChipSettings", [](auto&) { return fixed({cmd::GetChipSettings}); }, 19, 0},
        LayoutCase{"SetChipSettings",
                   [](auto& chip) { return chipSettingsCommand(chip.currentChipSettings()); }, 3,
                   0},
        LayoutCase{"SetPinValues",
                   [](auto&) {
                       return fixed({cmd::SetPinValues, 0, 0, 0, 0x0F});
                   },
                   6, 0},
        LayoutCase{"GetPinValues", [](auto&) { return fixed({cmd::GetPinValues}); }, 6, 0},
        LayoutCase{"SetPinDirections", [](auto&) { return fixed({cmd::SetPinDirections}); }, 2, 0},
        LayoutCase{"GetPinDirections", [](auto&) { return fixed({cmd::GetPinDirections}); }, 6, 0},
        LayoutCase{"SetSpiSettings",
                   [](auto& chip) {
                       return spiSettingsCommand(cmd::SetSpiSettings, chip.currentSpiSettings());
                   },
                   21, 0x11},
        LayoutCase{"GetSpiSettings", [](auto&) { return fixed({cmd::GetSpiSettings}); }, 21, 0x11},
        LayoutCase{"ReadEeprom",
                   [](auto&) {
                       return fixed({cmd::ReadEeprom, 7});
                   },
                   4, 7},
        LayoutCase{"WriteEeprom",
                   [](auto&) {
                       return fixed({cmd::WriteEeprom, 7, 0x42});
                   },
                   2, 0},
        LayoutCase{"WritePowerUpSpiSettings",
                   [](auto& chip) {
                       return spiSettingsCommand(cmd::WriteNvram, chip.nvram().spiSettings);
                   },
                   21, nv::SpiSettings},
        LayoutCase{"WritePowerUpChipSettings",
                   [](auto& chip) {
                       return powerUpChipSettingsCommand(chip.nvram().chipSettings, access::Open);
                   },
                   3, nv::ChipSettings},
        LayoutCase{"WriteUsbKey",
                   [](auto&) {
                       return fixed({cmd::WriteNvram, nv::UsbKey, 0, 0, 1, 2, 3, 4, 0x80, 50});
                   },
                   3, nv::UsbKey},
        LayoutCase{"WriteProduct", [](auto&) { return stringCommand(nv::ProductName, u"P"); }, 3,
                   nv::ProductName},
        LayoutCase{"WriteManufacturer",
                   [](auto&) { return stringCommand(nv::ManufacturerName, u"M"); }, 3,
                   nv::ManufacturerName},
        LayoutCase{"ReadPowerUpSpiSettings",
                   [](auto&) {
                       return fixed({cmd::ReadNvram, nv::SpiSettings});
                   },
                   21, nv::SpiSettings},
        LayoutCase{"ReadPowerUpChipSettings",
                   [](auto&) {
                       return fixed({cmd::ReadNvram, nv::ChipSettings});
                   },
                   19, nv::ChipSettings},
        LayoutCase{"ReadUsbKey",
                   [](auto&) {
                       return fixed({cmd::ReadNvram, nv::UsbKey});
                   },
                   31, nv::UsbKey},
        LayoutCase{"ReadProduct",
                   [](auto&) {
                       return fixed({cmd::ReadNvram, nv::ProductName});
                   },
                   6 + 2 * 19, nv::ProductName},
        LayoutCase{"ReadSerial",
                   [](auto&) {
                       return fixed({cmd::ReadNvram, nv::SerialNumber});
                   },
                   6 + 2 * 10, nv::SerialNumber},
        LayoutCase{"SendPassword", [](auto&) { return passwordCommand(password("whatever")); }, 2,
                   0},
        LayoutCase{"BusRelease",
                   [](auto&) {
                       return fixed({cmd::BusRelease, 1});
                   },
                   2, 0}),
    [](const auto& info) { return info.param.name; });

TEST(UnknownRequests, AreRefusedWithTheUnsupportedStatusAndTheirCodesEchoed)
{
    struct Case {
        Report command;
        std::uint8_t offset2;
    };
    const Case cases[] = {
        {makeCommand({0x99}), 0},
        {makeCommand({cmd::Reset, cmd::ResetKey1, 0x00}), 0},
        {makeCommand({cmd::ReadNvram, 0x70}), 0x70},
        {makeCommand({cmd::WriteNvram, 0x70}), 0x70},
        {stringCommand(nv::SerialNumber, u"NEW"), nv::SerialNumber},
    };
    for (const Case& c : cases) {
        sim::VexaBridgeChip chip;
        const Report response = roundTrip(chip, c.command);
        EXPECT_EQ(response[0], c.command[0]);
        EXPECT_EQ(response[1], status::Unsupported);
        EXPECT_EQ(response[2], c.offset2);
        EXPECT_FALSE(chip.takeRestartRequest());
    }
}

TEST(SilentChip, TakesCommandsWithoutAnsweringUntilTheFaultIsCleared)
{
    sim::VexaBridgeChip chip;
    sim::BridgeChipFaults silence;
    silence.silent = true;
    chip.setFaults(silence);
    chip.receiveCommand(makeCommand({cmd::WriteEeprom, 3, 0x33}));
    EXPECT_FALSE(chip.hasResponse());

    chip.setFaults({});
    const Report response = roundTrip(chip, {cmd::ReadEeprom, 3});
    EXPECT_EQ(response[3], 0x33);
}

TEST(ShortCommands, AreTakenAsZeroFilled)
{
    sim::VexaBridgeChip chip;
    const std::uint8_t readEeprom[] = {cmd::ReadEeprom};
    chip.receiveCommand(readEeprom);
    ASSERT_TRUE(chip.hasResponse());
    const Report response = chip.takeResponse();
    EXPECT_EQ(response[1], status::Ok);
    EXPECT_EQ(response[2], 0);
    EXPECT_EQ(response[3], 0xFF);
}

} // namespace
