#include "hid/platform/vhid/VirtualBusDescriptor.h"

#include <gtest/gtest.h>

namespace qzr {
namespace {

TEST(VirtualBusDescriptor, ReadsNumbersAsCDoesAndKeepsSixteenBits)
{
    const auto descriptor = VirtualBusDescriptor::Parse("vid=0x3A7C\n"
                                                        "pid=70\n"
                                                        "version=0100\n"
                                                        "report_size=0x10008\n");
    EXPECT_EQ(descriptor.Number("vid"), 0x3A7C);
    EXPECT_EQ(descriptor.Number("pid"), 70);
    EXPECT_EQ(descriptor.Number("version"), 0100) << "a leading 0 is octal";
    EXPECT_EQ(descriptor.Number("report_size"), 8);
    EXPECT_EQ(descriptor.Number("missing"), 0);
}

TEST(VirtualBusDescriptor, TakesTextsAsTheyAreAndSkipsCommentsAndOddLines)
{
    const auto descriptor = VirtualBusDescriptor::Parse("# a HID cradle\r\n"
                                                        "manufacturer=Halvern = BV\r\n"
                                                        "product=\n"
                                                        "no equals sign here\n"
                                                        "string.4=Fourth\n"
                                                        "colour=blue\n");
    EXPECT_EQ(descriptor.Text("manufacturer"), "Halvern = BV");
    EXPECT_EQ(descriptor.Text("product"), "");
    EXPECT_EQ(descriptor.Text("serial"), "");
    EXPECT_EQ(descriptor.Text("string.4"), "Fourth");
    EXPECT_EQ(descriptor.Text("# a HID cradle"), "");
}

TEST(VirtualBusDescriptor, AFileThatCannotBeReadHasNoValues)
{
    const auto descriptor = VirtualBusDescriptor::Read("/nonexistent/device.dev");
    EXPECT_EQ(descriptor.Attributes().VendorId, 0);
    EXPECT_EQ(descriptor.Text("product"), "");
}

} // namespace
} // namespace qzr
