#include "sim/unit/DemoRecording.h"

#include <cmath>
#include <numbers>
#include <random>

namespace sim {

LoggerRecording temperatureDayRecording(std::int32_t startTime)
{
    constexpr int Interval = 60;
    constexpr int Records = 24 * 60;
    LoggerRecording recording;
    recording.startTime = startTime;
    recording.interval = Interval;
    recording.decimals = 1;
    recording.sensorId = 1;
    recording.records.reserve(Records);

    std::mt19937 generator(static_cast<std::uint32_t>(startTime));
    std::normal_distribution<double> noise(0.0, 0.4);
    for (int k = 0; k < Records; ++k) {
        // Coolest around 05:00, warmest around 17:00: 19.5 +/- 3.0 degrees.
        const double hours = k / 60.0;
        const double temperature =
            195.0 - 30.0 * std::cos(2.0 * std::numbers::pi * (hours - 5.0) / 24.0);
        double minimum = temperature;
        double maximum = temperature;
        double sum = 0.0;
        for (int second = 0; second < Interval; second += 10) {
            const double sample = temperature + noise(generator);
            minimum = std::min(minimum, sample);
            maximum = std::max(maximum, sample);
            sum += sample * 10;
        }
        recording.records.push_back({static_cast<std::int16_t>(std::lround(minimum)),
                                     static_cast<std::int16_t>(std::lround(maximum)),
                                     static_cast<std::int32_t>(std::lround(sum))});
    }
    return recording;
}

} // namespace sim
