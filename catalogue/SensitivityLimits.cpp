#include "SensitivityLimits.h"

#include <cmath>

namespace qzr {

float KeptWithinSensorLimits(float sensitivity, const TSensorRecord& sensor)
{
    const double min = sensor.sensor_min;
    const double max = sensor.sensor_max;
    if (min == max)
        sensitivity = static_cast<float>(min);
    if (sensitivity > max)
        sensitivity = static_cast<float>(max);
    if (sensitivity < min || std::isnan(sensitivity))
        sensitivity = static_cast<float>(min);
    return sensitivity;
}

TSensitivityRange AcceptedSensitivityRange(const TSensorRecord& sensor)
{
    return {sensor.sensor_min - 0.01, sensor.sensor_max + 0.01};
}

} // namespace qzr
