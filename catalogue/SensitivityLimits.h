#pragma once

#include "SensorRecord.h"

namespace qzr {

// A sensitivity moved within the sensor's limits, in this order: sensor_min
// when the two limits are equal, sensor_max when it is above sensor_max,
// sensor_min when it is below sensor_min (so sensor_min wins when a record's
// limits are the wrong way round). A sensitivity that is not a number counts
// as below sensor_min.
float KeptWithinSensorLimits(float sensitivity, const TSensorRecord& sensor);

// The range a sensitivity entry accepts for a sensor: its limits widened by
// 0.01 on each side, so that the limits themselves pass after their rounding
// to single precision.
struct TSensitivityRange {
    double Lowest = 0;
    double Highest = 0;

    bool operator==(const TSensitivityRange&) const = default;
};

TSensitivityRange AcceptedSensitivityRange(const TSensorRecord& sensor);

} // namespace qzr
