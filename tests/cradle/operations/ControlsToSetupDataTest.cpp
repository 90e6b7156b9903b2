#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "cradle/operations/ControlsToSetupData.h"
#include "cradle/operations/RangeError.h"

namespace qzr {
namespace {

TSetupControls InRange()
{
    TSetupControls controls;
    for (int range = 0; range < AmplifierRangeCount; ++range) {
        controls.Offset[range] = -100 * (range + 1);
        controls.Multiplier[range] = 1000 + range;
        controls.Divider[range] = 20000 + range;
    }
    controls.AmplifierIndex = 3;
    controls.UserMultiplier = 1500;
    controls.UserDivider = 15000;
    controls.DecimalDotIndex = 2;
    controls.NegativesAllowed = true;
    return controls;
}

TEST(ControlsToSetupData, StoresBytesZeroToFortyThreeAndLeavesTheRest)
{
    TSetupData image;
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(0xC0 + i);
    const TSetupData before = image;
    ControlsToSetupData(InRange(), image);

    for (int range = 0; range < AmplifierRangeCount; ++range) {
        EXPECT_EQ(image.AmpOffset(range), -100 * (range + 1));
        EXPECT_EQ(image.AmpMultiplier(range), 1000 + range);
        EXPECT_EQ(image.AmpDivider(range), 20000 + range);
    }
    EXPECT_EQ(image[36], 6);
    EXPECT_EQ(image[37], 0);
    EXPECT_EQ(image.UserMultiplier(), 1500);
    EXPECT_EQ(image.UserDivider(), 15000);
    EXPECT_EQ(image[42], 2);
    EXPECT_EQ(image[43], 255);
    for (std::size_t i = 44; i < image.size(); ++i)
        EXPECT_EQ(image[i], before[i]) << "byte " << i;

    TSetupControls withoutNegatives = InRange();
    withoutNegatives.NegativesAllowed = false;
    ControlsToSetupData(withoutNegatives, image);
    EXPECT_EQ(image[43], 0);
}

TEST(ControlsToSetupData, AValueOutsideItsFieldNamesTheFieldAndKeepsTheFieldsBefore)
{
    struct Case {
        std::function<void(TSetupControls&)> change;
        std::string message;
        std::size_t firstUntouched; // bytes from here keep their old values
    };
    const Case cases[] = {
        {[](TSetupControls& c) { c.Divider[3] = 40000; }, "Divider 8x: 40000 is outside 0 to 32767",
         30},
        {[](TSetupControls& c) { c.Offset[0] = 65336; },
         "Offset 1x: 65336 is outside -32768 to 32767", 0},
        {[](TSetupControls& c) { c.Offset[5] = -32769; },
         "Offset 32x: -32769 is outside -32768 to 32767", 10},
        {[](TSetupControls& c) { c.Multiplier[1] = -1; }, "Multiplier 2x: -1 is outside 0 to 32767",
         14},
        {[](TSetupControls& c) { c.Divider[0] = -12; }, "Divider 1x: -12 is outside 0 to 32767",
         24},
        {[](TSetupControls& c) { c.AmplifierIndex = -1; }, "Input amplifier: -1 is outside 0 to 5",
         36},
        {[](TSetupControls& c) { c.UserMultiplier = 32768; },
         "User multiplier: 32768 is outside 0 to 32767", 38},
        {[](TSetupControls& c) { c.UserDivider = -1; }, "User divider: -1 is outside 0 to 32767",
         40},
        {[](TSetupControls& c) { c.DecimalDotIndex = 4; },
         "Decimal dot position: 4 is outside 0 to 3", 42},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        TSetupControls controls = InRange();
        c.change(controls);
        TSetupData image;
        image.fill(0xEE);
        TSetupData expected = image;
        ControlsToSetupData(InRange(), expected);
        try {
            ControlsToSetupData(controls, image);
            ADD_FAILURE() << "no range error";
        } catch (const ERangeError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
        for (std::size_t i = 0; i < image.size(); ++i)
            EXPECT_EQ(image[i], i < c.firstUntouched ? expected[i] : 0xEE) << "byte " << i;
    }
}

TEST(ControlsToSetupData, FieldLimitsThemselvesAreAccepted)
{
    TSetupControls controls = InRange();
    controls.Offset = {-32768, 32767, 0, 0, 0, 0};
    controls.Multiplier = {0, 32767, 0, 0, 0, 0};
    controls.AmplifierIndex = 5;
    controls.UserDivider = 0;
    controls.DecimalDotIndex = 3;
    TSetupData image{};
    ControlsToSetupData(controls, image);
    EXPECT_EQ(image.AmpOffset(0), -32768);
    EXPECT_EQ(image.AmpOffset(1), 32767);
    EXPECT_EQ(image.AmpMultiplier(1), 32767);
    EXPECT_EQ(image.AmplifierIndex(), 5);
    EXPECT_EQ(image.Decimals(), 3);
}

} // namespace
} // namespace qzr
