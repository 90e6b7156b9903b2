#include "sim/unit/Zt46Unit.h"

#include <gtest/gtest.h>

#include "UnitDriver.h"

namespace sim {
namespace {

using test::s16;

class Zt46UnitSetup : public testing::Test {
protected:
    Zt46UnitSetup() { driver.openSession(3); }

    std::vector<std::uint8_t> write(std::uint16_t address, std::uint8_t low, std::uint8_t high)
    {
        return driver.ask({0x22, 3, static_cast<std::uint8_t>(address),
                           static_cast<std::uint8_t>(address >> 8), low, high});
    }

    void setWord(std::size_t at, std::int16_t value)
    {
        qzr::TSetupData image = unit.workingSetup();
        image.SetS16(at, value);
        unit.setWorkingSetup(image);
    }

    Zt46Unit unit{{0x00000102, 1, 0x10, 0}};
    test::UnitDriver driver{unit};
};

TEST_F(Zt46UnitSetup, FreshUnitCarriesARealisticFactoryImageInBothAreas)
{
    const qzr::TSetupData& image = unit.workingSetup();
    EXPECT_EQ(image, unit.storedSetup(qzr::nvmFactory));
    EXPECT_EQ(image, unit.storedSetup(qzr::nvmUser));
    for (int range = 0; range < 6; ++range) {
        EXPECT_EQ(image.AmpMultiplier(range), Zt46Unit::FullRangeCounts[range]);
        EXPECT_GT(image.AmpDivider(range), 0);
    }
    EXPECT_EQ(image.SensorId(), 1) << "sensor ID of a catalogue entry";

    const auto reply = driver.ask({0x20, 3});
    ASSERT_EQ(reply.size(), 2 + qzr::SetupDataSize);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), reply.begin() + 2));
}

TEST_F(Zt46UnitSetup, WritesPairsAndEchoesWhatItHolds)
{
    const qzr::TSetupData stored = unit.storedSetup(qzr::nvmUser);
    EXPECT_EQ(write(38, 0x34, 0x12), (std::vector<std::uint8_t>{0x22, 3, 0x34, 0x12}));
    EXPECT_EQ(unit.workingSetup()[38], 0x34);
    EXPECT_EQ(unit.workingSetup()[39], 0x12);
    EXPECT_EQ(write(63, 0xAB, 0xCD), (std::vector<std::uint8_t>{0x22, 3, 0xAB, 0xFF}));
    EXPECT_EQ(unit.workingSetup()[63], 0xAB);

    const qzr::TSetupData before = unit.workingSetup();
    EXPECT_EQ(write(64, 1, 2), (std::vector<std::uint8_t>{0x22, 3, 0xFF, 0xFF}));
    EXPECT_EQ(write(0xFFFF, 1, 2), (std::vector<std::uint8_t>{0x22, 3, 0xFF, 0xFF}));
    EXPECT_EQ(unit.workingSetup(), before);
    EXPECT_EQ(unit.storedSetup(qzr::nvmUser), stored) << "writes change only the working image";
}

TEST_F(Zt46UnitSetup, StoresTheWorkingImageInTheRequestedAreaOnly)
{
    const qzr::TSetupData factory = unit.storedSetup(qzr::nvmFactory);
    write(40, 7, 0);
    EXPECT_EQ(driver.ask({0x24, 3}), (std::vector<std::uint8_t>{0x24, 3}));
    EXPECT_EQ(unit.storedSetup(qzr::nvmUser), unit.workingSetup());
    EXPECT_EQ(unit.storedSetup(qzr::nvmFactory), factory);

    write(0, 99, 0);
    EXPECT_EQ(driver.ask({0x23, 3}), (std::vector<std::uint8_t>{0x23, 3}));
    EXPECT_EQ(unit.storedSetup(qzr::nvmFactory), unit.workingSetup());
    EXPECT_EQ(unit.storedSetup(qzr::nvmUser)[0], factory[0]);
}

TEST_F(Zt46UnitSetup, WriteFaultLeavesThePairAndEchoesSomethingElse)
{
    unit.setWriteFaultAddress(18);
    const qzr::TSetupData before = unit.workingSetup();
    const auto echo = write(18, 0x11, 0x22);
    EXPECT_NE(echo, (std::vector<std::uint8_t>{0x22, 3, 0x11, 0x22}));
    EXPECT_EQ(unit.workingSetup(), before);
    EXPECT_EQ(write(20, 0x11, 0x22), (std::vector<std::uint8_t>{0x22, 3, 0x11, 0x22}));
}

TEST_F(Zt46UnitSetup, SetupReplyLengthCanBeShortOrLong)
{
    unit.setSetupReplyLength(40);
    EXPECT_EQ(driver.ask({0x20, 3}).size(), 42u);
    unit.setSetupReplyLength(70);
    const auto reply = driver.ask({0x20, 3});
    ASSERT_EQ(reply.size(), 72u);
    EXPECT_EQ(std::vector(reply.begin() + 66, reply.end()), std::vector<std::uint8_t>(6, 0));
}

class Zt46UnitRange : public Zt46UnitSetup, public testing::WithParamInterface<int> {};

TEST_P(Zt46UnitRange, FactoryCalibrationGivesTheIdealCountsOfTheRange)
{
    const int range = GetParam();
    setWord(qzr::SetupOffset::AmplifierSelection, static_cast<std::int16_t>(2 * range));
    unit.setInputMicrovolts(Zt46Unit::RangeMicrovolts[range] / 2.0);
    const Zt46Unit::Readings readings = unit.readings();
    EXPECT_NEAR(readings.calibrated, Zt46Unit::FullRangeCounts[range] / 2, 1);
    EXPECT_NE(readings.rawInput, readings.calibrated) << "raw counts carry the hardware error";
    EXPECT_EQ(readings.userAdjusted, readings.calibrated);

    unit.setInputMicrovolts(0);
    EXPECT_EQ(unit.readings().calibrated, 0);
    EXPECT_EQ(unit.readings().rawInput, unit.workingSetup().AmpOffset(range))
        << "raw reading at zero input is the factory offset";
}

INSTANTIATE_TEST_SUITE_P(Ranges, Zt46UnitRange, testing::Range(0, 6));

TEST_F(Zt46UnitSetup, ReadingsFollowUserScalingAndTheNegativesRule)
{
    unit.setInputMicrovolts(100000); // 1x: 10000 counts
    unit.setBatteryMillivolts(2950);
    setWord(qzr::SetupOffset::UserMultiplier, 3);
    setWord(qzr::SetupOffset::UserDivider, 4);
    EXPECT_EQ(unit.readings().calibrated, 10000);
    EXPECT_EQ(unit.readings().userAdjusted, 7500);
    EXPECT_EQ(unit.readings().rawBattery, 2950);

    const auto reply = driver.ask({0x21, 3});
    ASSERT_EQ(reply.size(), 10u);
    EXPECT_EQ(s16(reply, 2), unit.readings().rawInput);
    EXPECT_EQ(s16(reply, 4), 2950);
    EXPECT_EQ(s16(reply, 6), 10000);
    EXPECT_EQ(s16(reply, 8), 7500);

    unit.setInputMicrovolts(-20000);
    EXPECT_EQ(unit.readings().userAdjusted, -1500);
    qzr::TSetupData image = unit.workingSetup();
    image.SetNegativesAllowed(false);
    unit.setWorkingSetup(image);
    EXPECT_LT(unit.readings().calibrated, 0);
    EXPECT_EQ(unit.readings().userAdjusted, 0);

    setWord(qzr::SetupOffset::UserDivider, 0);
    EXPECT_EQ(unit.readings().userAdjusted, 0) << "a zero divider gives 0";
}

TEST_F(Zt46UnitSetup, OutOfRangeSignalsAndSelectionsAreClamped)
{
    setWord(qzr::SetupOffset::AmplifierSelection, 7); // 8x
    unit.setInputMicrovolts(1e12);
    EXPECT_EQ(unit.readings().rawInput, 32767);
    setWord(qzr::SetupOffset::AmplifierSelection, 40); // beyond the table: 32x
    unit.setInputMicrovolts(-1e12);
    EXPECT_EQ(unit.readings().rawInput, -32768);
    unit.setInputMicrovolts(6250.0 / 2);
    EXPECT_NEAR(unit.readings().calibrated, 6250 / 2, 1);
}

} // namespace
} // namespace sim
