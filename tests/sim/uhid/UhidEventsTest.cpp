#include <gtest/gtest.h>

#include <linux/input.h>

#include <cstring>
#include <string>
#include <vector>

#include "sim/hidcradle/HidCradle.h"
#include "sim/program/BridgeCradle.h"
#include "sim/uhid/UhidEvents.h"
#include "sim/uhid/UhidReportDescriptor.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The main items of a report descriptor with the report size and count in
// force for each, read with the item rules alone.
struct MainItem {
    std::uint8_t tag;
    unsigned reportSize;
    unsigned reportCount;
};

std::vector<MainItem> mainItems(const Bytes& descriptor, bool& reportIds)
{
    std::vector<MainItem> items;
    unsigned size = 0;
    unsigned count = 0;
    reportIds = false;
    for (std::size_t at = 0; at < descriptor.size();) {
        const std::uint8_t prefix = descriptor[at];
        const std::size_t length = (prefix & 3) == 3 ? 4 : (prefix & 3);
        unsigned value = 0;
        for (std::size_t i = 0; i < length && at + 1 + i < descriptor.size(); ++i) {
            value |= unsigned(descriptor[at + 1 + i]) << (8 * i);
        }
        switch (prefix & 0xFC) {
        case 0x74:
            size = value;
            break;
        case 0x94:
            count = value;
            break;
        case 0x84:
            reportIds = true;
            break;
        case 0x80:
        case 0x90:
            items.push_back({std::uint8_t(prefix & 0xFC), size, count});
            break;
        default:
            break;
        }
        at += 1 + length;
    }
    return items;
}

std::string text(const std::uint8_t* field)
{
    return reinterpret_cast<const char*>(field);
}

TEST(UhidEvents, TheReportDescriptorDeclaresOneInputAndOneOutputReportOfTheCradlesSize)
{
    for (std::size_t reportSize : {std::size_t{8}, std::size_t{64}, std::size_t{1024}}) {
        SCOPED_TRACE(reportSize);
        bool reportIds = true;
        const auto items = mainItems(sim::uhidReportDescriptor(reportSize), reportIds);
        EXPECT_FALSE(reportIds) << "the cradles' chips number no reports";
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[0].tag, 0x80) << "input first";
        EXPECT_EQ(items[1].tag, 0x90);
        for (const auto& item : items) {
            EXPECT_EQ(item.reportSize, 8u);
            EXPECT_EQ(item.reportCount, reportSize);
        }
    }
    EXPECT_THROW(sim::uhidReportDescriptor(0), std::invalid_argument);
}

TEST(UhidEvents, CreationCarriesTheCradlesIdentityAndItsSerialNumberAsUniq)
{
    const auto hid = sim::HidCradle::descriptor("HC-hid1");
    const auto event = sim::uhidCreateEvent(hid, "qzr-sim/hid1");
    EXPECT_EQ(event->type, UHID_CREATE2);
    const auto& create = event->u.create2;
    EXPECT_EQ(text(create.name), hid.manufacturer + " " + hid.product);
    EXPECT_EQ(text(create.phys), "qzr-sim/hid1");
    EXPECT_EQ(text(create.uniq), "HC-hid1");
    EXPECT_EQ(create.bus, BUS_USB);
    EXPECT_EQ(create.vendor, hid.vendorId);
    EXPECT_EQ(create.product, hid.productId);
    EXPECT_EQ(create.version, hid.version);
    const Bytes expected = sim::uhidReportDescriptor(8);
    ASSERT_EQ(create.rd_size, expected.size());
    EXPECT_EQ(Bytes(create.rd_data, create.rd_data + create.rd_size), expected);

    sim::DeviceDescriptor nameless;
    nameless.vendorId = 0x3A7C;
    nameless.productId = 0x0146;
    nameless.serial = std::string(100, 'S');
    const auto bare = sim::uhidCreateEvent(nameless, std::string(100, 'p'));
    EXPECT_EQ(text(bare->u.create2.name), "HID 3a7c:0146");
    EXPECT_EQ(text(bare->u.create2.uniq), std::string(63, 'S')) << "cut to the kernel's field";
    EXPECT_EQ(text(bare->u.create2.phys), std::string(63, 'p'));
}

TEST(UhidEvents, AnInputReportGoesToTheKernelWithoutItsReportId)
{
    const Bytes report = {0x00, 0xC3, 1, 2, 3, 4, 5, 6, 7};
    const auto event = sim::uhidInputEvent(report);
    EXPECT_EQ(event->type, UHID_INPUT2);
    ASSERT_EQ(event->u.input2.size, 8);
    EXPECT_EQ(Bytes(event->u.input2.data, event->u.input2.data + 8),
              Bytes(report.begin() + 1, report.end()));
    EXPECT_THROW(sim::uhidInputEvent(Bytes{0x00}), std::invalid_argument);
    EXPECT_THROW(sim::uhidInputEvent(Bytes(UHID_DATA_MAX + 2)), std::invalid_argument);
}

} // namespace
