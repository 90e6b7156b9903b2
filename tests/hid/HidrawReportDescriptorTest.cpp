#include "hid/platform/hidraw/HidrawReportDescriptor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qzr {
namespace {

TEST(HidrawReportDescriptor, FindsReportIdItemsAmongOtherItems)
{
    const struct {
        std::string Name;
        std::vector<std::uint8_t> Descriptor;
        bool UsesReportIds;
    } cases[] = {
        {"empty", {}, false},
        // Vendor page, 8-byte input and output reports, no report IDs.
        {"plain 8-byte reports",
         {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
          0x08, 0x95, 0x08, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0},
         false},
        {"report ID 1", {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01, 0xC0}, true},
        // 0x85 inside the data of a 4-byte item is data, not an item.
        {"0x85 as item data", {0x27, 0x85, 0x85, 0x85, 0x85, 0xC0}, false},
        // A long item whose data holds 0x85, then a report ID.
        {"long item first", {0xFE, 0x02, 0x10, 0x85, 0x85, 0x85, 0x02}, true},
        {"truncated long item", {0xFE}, false},
    };
    for (const auto& entry : cases)
        EXPECT_EQ(ReportDescriptorUsesReportIds(entry.Descriptor), entry.UsesReportIds)
            << entry.Name;
}

} // namespace
} // namespace qzr
