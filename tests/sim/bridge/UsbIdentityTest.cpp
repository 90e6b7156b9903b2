// USB key parameters and the string descriptors.
#include <string>

#include <gtest/gtest.h>

#include "BridgeChipTestSupport.h"
#include "sim/bridge/ReportFields.h"
#include "sim/bridge/SettingsRecords.h"

namespace {

using namespace bridge_test;
using namespace sim::vexa;

TEST(UsbKey, IsWrittenAtOffsets4To9AndReadBackAtOffsets12To30InTwoMilliampereUnits)
{
    struct Case {
        std::uint8_t powerAttributes;
        std::uint8_t maxCurrentUnits;
    };
    // Bus powered with remote wake and 2 mA; self powered with the most, 510 mA.
    for (const Case c : {Case{0xA0, 1}, Case{0xC0, 255}, Case{0x40, 50}}) {
        sim::VexaBridgeChip chip;
        const Report written = roundTrip(chip, {cmd::WriteNvram, nv::UsbKey, 0, 0, 0x34, 0x12, 0x78,
                                                0x56, c.powerAttributes, c.maxCurrentUnits});
        ASSERT_EQ(written[1], status::Ok);

        const Report read = roundTrip(chip, {cmd::ReadNvram, nv::UsbKey});
        EXPECT_EQ(getU16(read, 12), 0x1234);
        EXPECT_EQ(getU16(read, 14), 0x5678);
        EXPECT_EQ(read[29], c.powerAttributes);
        EXPECT_EQ(read[30], c.maxCurrentUnits);
        EXPECT_EQ(chip.nvram().usbKey.maxCurrentUnits, c.maxCurrentUnits);
    }
}

TEST(UsbKey, FactoryIdentityIsTheBridgeCradles)
{
    sim::VexaBridgeChip chip;
    const Report read = roundTrip(chip, {cmd::ReadNvram, nv::UsbKey});
    EXPECT_EQ(getU16(read, 12), qzr::CradleVendorId);
    EXPECT_EQ(getU16(read, 14), qzr::BridgeCradleProductId);
}

class StringRoundTrip : public ::testing::TestWithParam<std::u16string> {};

TEST_P(StringRoundTrip, ProductAndManufacturerComeBackAsWellFormedDescriptors)
{
    const std::u16string& text = GetParam();
    for (std::uint8_t sub : {nv::ProductName, nv::ManufacturerName}) {
        sim::VexaBridgeChip chip;
        ASSERT_EQ(roundTrip(chip, stringCommand(sub, text))[1], status::Ok);
        const Report read = roundTrip(chip, {cmd::ReadNvram, sub});
        EXPECT_EQ(read[4], 2 * text.size() + 2);
        EXPECT_EQ(read[5], 0x03);
        EXPECT_EQ(takeStringDescriptor(read), text);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, StringRoundTrip,
                         ::testing::Values(u"", u"X", u"\u00c5ngstr\u00f6m \u03a9",
                                           u"ABCDEFGHIJKLMNOPQRSTUVWXYZ123"));

TEST(StringWrite, MalformedDescriptorsAreRefusedAndKeepTheOldText)
{
    struct Case {
        std::uint8_t length;
        std::uint8_t type;
    };
    for (const Case c : {Case{0, 0x03}, Case{1, 0x03}, Case{7, 0x03}, Case{62, 0x03},
                         Case{64, 0x03}, Case{4, 0x02}}) {
        sim::VexaBridgeChip chip;
        const std::u16string before = chip.nvram().product;
        Report command = makeCommand({cmd::WriteNvram, nv::ProductName, 0, 0, c.length, c.type});
        const Report response = roundTrip(chip, command);
        EXPECT_EQ(response[1], status::Unsupported) << "length " << int(c.length);
        EXPECT_EQ(response[2], nv::ProductName);
        EXPECT_EQ(chip.nvram().product, before);
    }
}

TEST(SerialNumber, IsReadFromTheChipsStore)
{
    sim::BridgeChipNvram nvram;
    nvram.serialNumber = u"BC-0042";
    sim::VexaBridgeChip chip(nvram);
    EXPECT_EQ(takeStringDescriptor(roundTrip(chip, {cmd::ReadNvram, nv::SerialNumber})),
              u"BC-0042");
}

} // namespace
