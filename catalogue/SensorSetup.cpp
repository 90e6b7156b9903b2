#include "SensorSetup.h"

#include "SensorSettingsError.h"

#include <limits>

namespace qzr {

namespace {

void CheckWithin(const QString& what, const TSensorRecord& sensor, qint64 value, qint64 lowest,
                 qint64 highest)
{
    if (value < lowest || value > highest)
        throw OutOfRange(what, sensor.sensor_name, double(value), double(lowest), double(highest));
}

} // namespace

TSensorSetup SensorSetupFor(const TSensorRecord& sensor, float sensitivity, int firmwareVersion)
{
    constexpr int largestSensorId = std::numeric_limits<std::uint8_t>::max();
    CheckWithin(QStringLiteral("Sensor ID"), sensor, sensor.sensor_ID, 0, largestSensorId);
    TSensorSetup setup;
    setup.SensorId = static_cast<std::uint8_t>(sensor.sensor_ID);
    setup.Sensitivity = sensitivity;
    setup.FixedPoint = FixedPointSensitivity(sensitivity, firmwareVersion, sensor);
    setup.Settings = CalculateZT46Settings(sensor, sensitivity);
    CheckWithin(QStringLiteral("Multiplier"), sensor, setup.Settings.Multiplier, 0,
                LargestUserScaling);
    CheckWithin(QStringLiteral("Divider"), sensor, setup.Settings.Divider, 0, LargestUserScaling);
    CheckWithin(QStringLiteral("Decimals"), sensor, setup.Settings.DecDotSetting, 0,
                LargestDecimals);
    return setup;
}

void ApplySensorSetup(TSetupData& image, const TSensorSetup& setup)
{
    const TZT46Settings& settings = setup.Settings;
    image.SetAmplifierIndex(settings.AmplifierSetting);
    image.SetS16(SetupOffset::UserMultiplier, static_cast<std::int16_t>(settings.Multiplier));
    image.SetS16(SetupOffset::UserDivider, static_cast<std::int16_t>(settings.Divider));
    image[SetupOffset::Decimals] = static_cast<std::uint8_t>(settings.DecDotSetting);
    image.SetNegativesAllowed(settings.NegativesAllowed);
    image[SetupOffset::SensorId] = setup.SensorId;
    image.SetSensitivity(setup.Sensitivity);
    image[SetupOffset::SensitivityDecimals] = setup.FixedPoint.Decimals;
    if (setup.FixedPoint.Value)
        image.SetS16(SetupOffset::SensitivityFixed, *setup.FixedPoint.Value);
}

} // namespace qzr
