#include "sim/unit/DemoRecording.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <random>

#include "sim/unit/UnitHardware.h"

namespace sim {

qzr::TSetupData temperatureProbeSetupImage()
{
    qzr::TSetupData image = factorySetupImage();
    image.SetAmplifierIndex(0);
    image.SetS16(qzr::SetupOffset::UserMultiplier, 1500);
    image.SetS16(qzr::SetupOffset::UserDivider, 15000);
    image[qzr::SetupOffset::Decimals] = 1;
    image.SetNegativesAllowed(true);
    image[qzr::SetupOffset::SensorId] = DemoSensorId;
    image.SetSensitivity(1000.0f);
    // Firmware before version 40 keeps no fixed-point sensitivity.
    image[qzr::SetupOffset::SensitivityDecimals] = 255;
    image.SetS16(qzr::SetupOffset::SensitivityFixed, 1000);
    return image;
}

LoggerRecording temperatureDayRecording(std::int32_t startTime)
{
    constexpr int Interval = 60;
    constexpr int Records = 24 * 60;
    LoggerRecording recording;
    recording.startTime = startTime;
    recording.interval = Interval;
    recording.decimals = 1;
    recording.sensorId = DemoSensorId;
    recording.records.reserve(Records);

    std::mt19937 generator(static_cast<std::uint32_t>(startTime));
    std::normal_distribution<double> noise(0.0, 0.4);
    for (int k = 0; k < Records; ++k) {
        // Coolest around 05:00, warmest around 17:00: 19.5 +/- 3.0 degrees.
        const double hours = k / 60.0;
        const double temperature =
            195.0 - 30.0 * std::cos(2.0 * std::numbers::pi * (hours - 5.0) / 24.0);
        // Six samples of ten seconds each, as the unit's display shows them.
        std::int32_t minimum = INT32_MAX;
        std::int32_t maximum = INT32_MIN;
        std::int32_t integral = 0;
        for (int second = 0; second < Interval; second += 10) {
            const auto sample =
                static_cast<std::int32_t>(std::lround(temperature + noise(generator)));
            minimum = std::min(minimum, sample);
            maximum = std::max(maximum, sample);
            integral += sample * 10;
        }
        recording.records.push_back(
            {static_cast<std::int16_t>(minimum), static_cast<std::int16_t>(maximum), integral});
    }
    return recording;
}

} // namespace sim
