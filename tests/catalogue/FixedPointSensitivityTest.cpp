#include "SensorRecords.h"
#include "SettingsPrinters.h"

#include <catalogue/FixedPointSensitivity.h>
#include <catalogue/SensorSettingsError.h>

#include <gtest/gtest.h>

namespace qzr {
namespace {

struct TFixedPointCase {
    float Sensitivity;
    int FirmwareVersion;
    TFixedPointSensitivity Expected;
};

void PrintTo(const TFixedPointCase& c, std::ostream* out)
{
    *out << c.Sensitivity << " with firmware " << c.FirmwareVersion;
}

class FixedPointSensitivityCase : public testing::TestWithParam<TFixedPointCase> {};

TEST_P(FixedPointSensitivityCase, TakesTheDecimalsOfTheFirstStepBelowTheSensitivity)
{
    const TFixedPointCase& c = GetParam();
    EXPECT_EQ(FixedPointSensitivity(c.Sensitivity, c.FirmwareVersion, VoltageSensor(100, 0)),
              c.Expected)
        << c.Sensitivity << " with firmware " << c.FirmwareVersion;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FixedPointSensitivityCase,
    testing::Values(
        // 2062.5 rounds half to even.
        TFixedPointCase{2.0625f, 40, {3, 2062}}, TFixedPointCase{0.0f, 40, {3, 0}},
        TFixedPointCase{9.9999f, 40, {3, 10000}}, TFixedPointCase{10.0f, 40, {2, 1000}},
        TFixedPointCase{99.5f, 40, {2, 9950}}, TFixedPointCase{500.0f, 40, {1, 5000}},
        TFixedPointCase{9999.5f, 40, {0, 10000}},
        // From 10000 on the field keeps what it holds.
        TFixedPointCase{12000.0f, 40, {NoFixedPointSensitivity, std::nullopt}},
        // Firmware below 40 never reads the field, whatever the step gave.
        TFixedPointCase{2.0625f, 39, {NoFixedPointSensitivity, 2062}},
        TFixedPointCase{500.0f, 39, {NoFixedPointSensitivity, 5000}},
        TFixedPointCase{12000.0f, 39, {NoFixedPointSensitivity, std::nullopt}}));

TEST(FixedPointSensitivity, AValueBeyondASigned16BitWordIsARangeErrorNamingTheSensor)
{
    try {
        FixedPointSensitivity(-50.0f, 40, VoltageSensor(100, 0));
        FAIL() << "no error";
    } catch (const ESensorSettingsError& error) {
        EXPECT_EQ(error.Message(), "Fixed-point sensitivity for sensor \"Pressure 50 bar\": "
                                   "-50000 is outside -32768 to 32767");
    }
}

} // namespace
} // namespace qzr
