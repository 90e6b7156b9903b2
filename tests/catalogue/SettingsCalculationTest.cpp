#include "SensorRecords.h"
#include "SettingsPrinters.h"

#include <catalogue/SensorSettingsError.h>
#include <catalogue/SettingsCalculation.h>

#include <gtest/gtest.h>

namespace qzr {
namespace {

struct TCalculationCase {
    const char* What;
    TSensorRecord Sensor;
    float Sensitivity;
    TZT46Settings Expected;
};

void PrintTo(const TCalculationCase& c, std::ostream* out)
{
    *out << c.What;
}

class CalculateZT46SettingsCase : public testing::TestWithParam<TCalculationCase> {};

TEST_P(CalculateZT46SettingsCase, DerivesRangeScalingAndSignRule)
{
    const TCalculationCase& c = GetParam();
    EXPECT_EQ(CalculateZT46Settings(c.Sensor, c.Sensitivity), c.Expected) << c.What;
}

// Expected: amplifier index, multiplier, divider, decimals, negatives allowed.
INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, CalculateZT46SettingsCase,
    testing::Values(
        // b = 100000 fits 2x (100000) but not 4x (50000).
        TCalculationCase{
            "s 2.0, FS 50000, DP 1", VoltageSensor(50000, 1), 2.0f, {1, 500000, 10000, 1, true}},
        // b = 1000: every range holds it, 32x has 6250 counts in 6250 uV.
        TCalculationCase{
            "s 10, FS 100, DP 2", VoltageSensor(100, 2), 10.0f, {5, 10000, 1000, 2, true}},
        // b = 199999.9 truncates to 199999, above 2x's 100000: 1x stays.
        TCalculationCase{
            "b 199999.9", VoltageSensor(199999.9, 0), 1.0f, {0, 200000, 20000, 0, true}},
        // Whole microvolt decide: 6250.9 still fits 32x, 6251 needs 16x.
        TCalculationCase{"b 6250.9", VoltageSensor(6250.9, 0), 1.0f, {5, 6251, 6251, 0, true}},
        TCalculationCase{"b 6251", VoltageSensor(6251, 0), 1.0f, {4, 6251, 6251, 0, true}},
        TCalculationCase{
            "b above 1x's range", VoltageSensor(300000, 0), 1.0f, {0, 300000, 30000, 0, true}},
        // Current output: a = R / s = 604 / 4 = 151 uV per display unit.
        TCalculationCase{"R 604, s 4, FS 1", CurrentSensor(1, 0, 604), 4.0f, {5, 1, 151, 0, true}},
        TCalculationCase{
            "R 604, s 4, FS 100", CurrentSensor(100, 1, 604), 4.0f, {3, 1000, 15100, 1, true}},
        TCalculationCase{
            "no negatives", VoltageSensor(100, 2, true), 10.0f, {5, 10000, 1000, 2, false}},
        // Halves round to even: 12344.5 counts and 2.5 digits give 12344 and 2.
        TCalculationCase{
            "divider half", VoltageSensor(123445, 0), 1.0f, {0, 123445, 12344, 0, true}},
        TCalculationCase{
            "multiplier half", VoltageSensor(0.25, 1), 40000.0f, {4, 2, 10000, 1, true}}));

TEST(CalculateZT46Settings, ACurrentOutputSensorWithSensitivityZeroIsAnErrorNamingTheSensor)
{
    try {
        CalculateZT46Settings(CurrentSensor(100, 1, 604), 0.0f);
        FAIL() << "no error";
    } catch (const ESensorSettingsError& error) {
        EXPECT_EQ(error.Message(),
                  "Sensor \"AD590 probe\" has a current output, so its sensitivity must not be 0");
    }
}

TEST(CalculateZT46Settings, AMultiplierOrDividerBeyond32BitsIsARangeError)
{
    try {
        CalculateZT46Settings(VoltageSensor(3e9, 0), 0.001f);
        FAIL() << "no error";
    } catch (const ESensorSettingsError& error) {
        EXPECT_EQ(error.Message(), "Multiplier for sensor \"Pressure 50 bar\": 3000000000 is "
                                   "outside -2147483648 to 2147483647");
    }
    try {
        CalculateZT46Settings(VoltageSensor(1, 0), 1e14f);
        FAIL() << "no error";
    } catch (const ESensorSettingsError& error) {
        EXPECT_TRUE(error.Message().startsWith("Divider for sensor \"Pressure 50 bar\": "))
            << error.Message().toStdString();
    }
}

} // namespace
} // namespace qzr
