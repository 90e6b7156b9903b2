#include "hid/HidDataPort.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace qzr {
namespace {

THidData Bytes(std::initializer_list<std::uint8_t> Values)
{
    THidData data{};
    std::copy(Values.begin(), Values.end(), data.begin());
    return data;
}

struct ViewRead {
    std::string Name;
    std::function<std::int64_t(const THidDataPort&)> Read;
    std::int64_t Expected;
};

TEST(HidDataPortViews, ReadTheBufferBigEndianByIndex)
{
    THidDataPort port;
    port.SetAsInt64(0x0102030405060708);
    EXPECT_EQ(port.AsHidData(), Bytes({1, 2, 3, 4, 5, 6, 7, 8}));

    const ViewRead cases[] = {
        {"AsInt64", [](auto& p) { return p.AsInt64(); }, 0x0102030405060708},
        {"AsLongInt(0)", [](auto& p) { return p.AsLongInt(0); }, 0x01020304},
        {"AsLongInt(1)", [](auto& p) { return p.AsLongInt(1); }, 0x05060708},
        {"AsSmallInt(0)", [](auto& p) { return p.AsSmallInt(0); }, 0x0102},
        {"AsSmallInt(3)", [](auto& p) { return p.AsSmallInt(3); }, 0x0708},
        {"AsShortInt(5)", [](auto& p) { return p.AsShortInt(5); }, 6},
        {"AsByte(0)", [](auto& p) { return p.AsByte(0); }, 1},
        {"AsByte(7)", [](auto& p) { return p.AsByte(7); }, 8},
        {"AsBit(0)", [](auto& p) { return p.AsBit(0); }, false},
        {"AsBit(3)", [](auto& p) { return p.AsBit(3); }, true},
        {"AsBit(56)", [](auto& p) { return p.AsBit(56); }, true},
        {"AsBit(57)", [](auto& p) { return p.AsBit(57); }, false},
        {"AsBit(63)", [](auto& p) { return p.AsBit(63); }, false},
    };
    for (const auto& view : cases)
        EXPECT_EQ(view.Read(port), view.Expected) << view.Name;
}

TEST(HidDataPortViews, ReadSignedValuesWithTheirSign)
{
    THidDataPort port;
    port.SetAsHidData(Bytes({0xFF, 0xFE, 0x80, 0x00, 0x00, 0x00, 0x00, 0xFF}));

    const ViewRead cases[] = {
        {"AsShortInt(0)", [](auto& p) { return p.AsShortInt(0); }, -1},
        {"AsByte(0)", [](auto& p) { return p.AsByte(0); }, 255},
        {"AsSmallInt(0)", [](auto& p) { return p.AsSmallInt(0); }, -2},
        {"AsSmallInt(1)", [](auto& p) { return p.AsSmallInt(1); }, -32768},
        {"AsLongInt(0)", [](auto& p) { return p.AsLongInt(0); }, -98304},
        {"AsInt64", [](auto& p) { return p.AsInt64(); }, -0x17FFFFFFFFF01},
    };
    for (const auto& view : cases)
        EXPECT_EQ(view.Read(port), view.Expected) << view.Name;
}

struct ViewWrite {
    std::string Name;
    std::function<void(THidDataPort&)> Write;
    THidData Expected;
};

TEST(HidDataPortViews, WritesChangeOnlyTheBytesOfTheirIndex)
{
    const ViewWrite cases[] = {
        {"SetAsLongInt(1, -2)", [](auto& p) { p.SetAsLongInt(1, -2); },
         Bytes({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFE})},
        {"SetAsSmallInt(2, 0x1234)", [](auto& p) { p.SetAsSmallInt(2, 0x1234); },
         Bytes({0, 0, 0, 0, 0x12, 0x34, 0, 0})},
        {"SetAsShortInt(3, -128)", [](auto& p) { p.SetAsShortInt(3, -128); },
         Bytes({0, 0, 0, 0x80, 0, 0, 0, 0})},
        {"SetAsByte(7, 200)", [](auto& p) { p.SetAsByte(7, 200); },
         Bytes({0, 0, 0, 0, 0, 0, 0, 200})},
        {"SetAsBit(9, true)", [](auto& p) { p.SetAsBit(9, true); },
         Bytes({0, 0, 0, 0, 0, 0, 0x02, 0})},
        {"SetAsBit(63, true)", [](auto& p) { p.SetAsBit(63, true); },
         Bytes({0x80, 0, 0, 0, 0, 0, 0, 0})},
        {"SetAsInt64(-1)", [](auto& p) { p.SetAsInt64(-1); },
         Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
    };
    for (const auto& view : cases) {
        THidDataPort port;
        view.Write(port);
        EXPECT_EQ(port.AsHidData(), view.Expected) << view.Name;
    }
}

TEST(HidDataPortViews, ClearingABitLeavesTheOtherBits)
{
    THidDataPort port;
    port.SetAsInt64(-1);
    port.SetAsBit(12, false);
    EXPECT_EQ(port.AsHidData(), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xEF, 0xFF}));
}

TEST(HidDataPortViews, IndexesOutsideTheRangeReadZeroAndWriteNothing)
{
    const struct {
        std::string Name;
        std::function<std::int64_t(const THidDataPort&)> Read;
        std::function<void(THidDataPort&)> Write;
    } cases[] = {
        {"AsLongInt(2)", [](auto& p) { return p.AsLongInt(2); },
         [](auto& p) { p.SetAsLongInt(2, 0); }},
        {"AsLongInt(-1)", [](auto& p) { return p.AsLongInt(-1); },
         [](auto& p) { p.SetAsLongInt(-1, 0); }},
        {"AsSmallInt(4)", [](auto& p) { return p.AsSmallInt(4); },
         [](auto& p) { p.SetAsSmallInt(4, 0); }},
        {"AsSmallInt(-1)", [](auto& p) { return p.AsSmallInt(-1); },
         [](auto& p) { p.SetAsSmallInt(-1, 0); }},
        {"AsShortInt(8)", [](auto& p) { return p.AsShortInt(8); },
         [](auto& p) { p.SetAsShortInt(8, 0); }},
        {"AsByte(8)", [](auto& p) { return p.AsByte(8); }, [](auto& p) { p.SetAsByte(8, 0); }},
        {"AsByte(-1)", [](auto& p) { return p.AsByte(-1); }, [](auto& p) { p.SetAsByte(-1, 0); }},
        {"AsBit(64)", [](auto& p) { return p.AsBit(64); }, [](auto& p) { p.SetAsBit(64, false); }},
        {"AsBit(-1)", [](auto& p) { return p.AsBit(-1); }, [](auto& p) { p.SetAsBit(-1, false); }},
    };
    const THidData allOnes = Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    for (const auto& view : cases) {
        THidDataPort port;
        port.SetAsHidData(allOnes);
        EXPECT_EQ(view.Read(port), 0) << view.Name;
        view.Write(port);
        EXPECT_EQ(port.AsHidData(), allOnes) << view.Name;
    }
}

} // namespace
} // namespace qzr
