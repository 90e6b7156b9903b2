#pragma once

#include "SensorRecord.h"

#include <cstdint>
#include <optional>

namespace qzr {

// The sensitivity as the unit's fixed-point field holds it: a number of
// decimals (0 to 3; NoFixedPointSensitivity when the field carries no
// sensitivity) and the sensitivity times 10 to that power.
struct TFixedPointSensitivity {
    std::uint8_t Decimals = 0;
    // Nothing when the field keeps the value it holds.
    std::optional<std::int16_t> Value;

    bool operator==(const TFixedPointSensitivity&) const = default;
};

inline constexpr std::uint8_t NoFixedPointSensitivity = 255;

// Firmware versions from this one on read the fixed-point sensitivity.
inline constexpr int FirstFirmwareWithFixedPointSensitivity = 40;

// The fixed-point form of a sensitivity: 3 decimals below 10, 2 below 100,
// 1 below 1000, none below 10000, rounded to the nearest whole number with
// halves to even; from 10000 on no value (the field keeps what it holds).
// Older firmware gets the value with NoFixedPointSensitivity as its decimals.
// Throws ESensorSettingsError, naming the sensor, when the value does not fit
// a signed 16-bit word.
TFixedPointSensitivity FixedPointSensitivity(float sensitivity, int firmwareVersion,
                                             const TSensorRecord& sensor);

} // namespace qzr
