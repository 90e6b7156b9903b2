#include "SensorRecords.h"
#include "SettingsPrinters.h"

#include <catalogue/SensorSettingsError.h>
#include <catalogue/SensorSetup.h>

#include <gtest/gtest.h>

namespace qzr {
namespace {

// An image whose every byte differs from its neighbours, so that a byte
// written by mistake shows.
TSetupData PatternedImage()
{
    TSetupData image;
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(0xA0 + i);
    return image;
}

TEST(SensorSetup, WritesBytes36To51AndKeepsTheCalibrationAndTheUnitsOwnBytes)
{
    TSensorRecord sensor = VoltageSensor(100, 2, true);
    sensor.sensor_ID = 42;
    const TSetupData before = PatternedImage();
    TSetupData image = before;

    ApplySensorSetup(image, SensorSetupFor(sensor, 10.0f, 40));

    for (std::size_t i = 0; i < SetupOffset::AmplifierSelection; ++i)
        EXPECT_EQ(image[i], before[i]) << "byte " << i;
    for (std::size_t i = SetupOffset::Carried; i < SetupDataSize; ++i)
        EXPECT_EQ(image[i], before[i]) << "byte " << i;
    EXPECT_EQ(image.U16(SetupOffset::AmplifierSelection), 10); // 32x, index 5
    EXPECT_EQ(image.UserMultiplier(), 10000);
    EXPECT_EQ(image.UserDivider(), 1000);
    EXPECT_EQ(image.Decimals(), 2);
    EXPECT_EQ(image[SetupOffset::NegativesAllowed], 0);
    EXPECT_EQ(image.SensorId(), 42);
    EXPECT_EQ(image.Sensitivity(), 10.0f);
    EXPECT_EQ(image.SensitivityDecimals(), 2);
    EXPECT_EQ(image.SensitivityFixed(), 1000);
}

TEST(SensorSetup, ASensitivityWithoutFixedPointFormKeepsBytes50And51)
{
    const TSetupData before = PatternedImage();
    TSetupData image = before;
    ApplySensorSetup(image, SensorSetupFor(VoltageSensor(10, 0), 12000.0f, 40));
    EXPECT_EQ(image.SensitivityDecimals(), NoFixedPointSensitivity);
    EXPECT_EQ(image.SensitivityFixed(), before.SensitivityFixed());
    EXPECT_EQ(image[SetupOffset::NegativesAllowed], 255);
}

struct TRefusedCase {
    const char* What;
    TSensorRecord Sensor;
    float Sensitivity;
    const char* Message;
};

void PrintTo(const TRefusedCase& c, std::ostream* out)
{
    *out << c.What;
}

TSensorRecord WithId(TSensorRecord sensor, qint32 id)
{
    sensor.sensor_ID = id;
    return sensor;
}

class RefusedSensorSetup : public testing::TestWithParam<TRefusedCase> {};

TEST_P(RefusedSensorSetup, NamesTheValueAndTheSensor)
{
    const TRefusedCase& c = GetParam();
    try {
        SensorSetupFor(c.Sensor, c.Sensitivity, 40);
        FAIL() << c.What << ": no error";
    } catch (const ESensorSettingsError& error) {
        EXPECT_EQ(error.Message(), QString::fromUtf8(c.Message)) << c.What;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ValuesThatDoNotFit, RefusedSensorSetup,
    testing::Values(
        TRefusedCase{"sensor ID above a byte", WithId(VoltageSensor(100, 2), 256), 10.0f,
                     "Sensor ID for sensor \"Pressure 50 bar\": 256 is outside 0 to 255"},
        TRefusedCase{"negative sensor ID", WithId(VoltageSensor(100, 2), -1), 10.0f,
                     "Sensor ID for sensor \"Pressure 50 bar\": -1 is outside 0 to 255"},
        // Passes the calculation, but the unit's field holds at most 32767.
        TRefusedCase{"multiplier 500000", VoltageSensor(50000, 1), 2.0f,
                     "Multiplier for sensor \"Pressure 50 bar\": 500000 is outside 0 to 32767"},
        TRefusedCase{"divider 40000", VoltageSensor(100, 0), 4000.0f,
                     "Divider for sensor \"Pressure 50 bar\": 40000 is outside 0 to 32767"},
        TRefusedCase{"negative full scale", VoltageSensor(-100, 0), 10.0f,
                     "Multiplier for sensor \"Pressure 50 bar\": -100 is outside 0 to 32767"},
        TRefusedCase{"four decimals", VoltageSensor(1, 4), 1000.0f,
                     "Decimals for sensor \"Pressure 50 bar\": 4 is outside 0 to 3"},
        TRefusedCase{"current output, sensitivity 0", CurrentSensor(100, 1, 604), 0.0f,
                     "Sensor \"AD590 probe\" has a current output, so its sensitivity must not "
                     "be 0"}));

} // namespace
} // namespace qzr
