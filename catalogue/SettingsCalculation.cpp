#include "SettingsCalculation.h"

#include "RoundHalfEven.h"
#include "SensorSettingsError.h"

#include <protocol/AmplifierRanges.h>

#include <cmath>
#include <limits>

namespace qzr {

namespace {

qint32 Rounded32(double value, const QString& what, const TSensorRecord& sensor)
{
    constexpr qint32 lowest = std::numeric_limits<qint32>::min();
    constexpr qint32 highest = std::numeric_limits<qint32>::max();
    const auto rounded = RoundedWithin(value, lowest, highest);
    if (!rounded)
        throw OutOfRange(what, sensor.sensor_name, std::nearbyint(value), lowest, highest);
    return static_cast<qint32>(*rounded);
}

// The most sensitive range whose input range still holds the full-scale
// input, compared with that input truncated to whole microvolt.
int AmplifierFor(double fullScaleInput)
{
    const double wholeMicrovolt = std::trunc(fullScaleInput);
    int index = 0;
    while (index < AmplifierRangeCount - 1 &&
           AmplifierRanges[index + 1].RangeMicrovolt >= wholeMicrovolt)
        ++index;
    return index;
}

} // namespace

TZT46Settings CalculateZT46Settings(const TSensorRecord& sensor, float sensitivity)
{
    if (sensor.sensor_currentoutput && sensitivity == 0)
        throw ESensorSettingsError(
            QStringLiteral("Sensor \"%1\" has a current output, so its sensitivity must not be 0")
                .arg(sensor.sensor_name));
    const double perDisplayUnit =
        sensor.sensor_currentoutput ? sensor.sensor_resistor / double(sensitivity) : sensitivity;
    const double fullScaleInput = sensor.sensor_FS * perDisplayUnit;

    TZT46Settings settings;
    settings.AmplifierSetting = AmplifierFor(fullScaleInput);
    settings.NegativesAllowed = !sensor.sensor_notnegative;
    settings.DecDotSetting = sensor.sensor_DP;
    const float decimalsFactor = std::pow(10.0f, static_cast<float>(settings.DecDotSetting));
    settings.Multiplier =
        Rounded32(sensor.sensor_FS * double(decimalsFactor), QStringLiteral("Multiplier"), sensor);
    const TAmplifierRange& range = AmplifierRanges[settings.AmplifierSetting];
    settings.Divider = Rounded32(fullScaleInput * range.CountsAtFullRange / range.RangeMicrovolt,
                                 QStringLiteral("Divider"), sensor);
    return settings;
}

} // namespace qzr
