#pragma once

#include "FixedPointSensitivity.h"
#include "SensorRecord.h"
#include "SettingsCalculation.h"

#include <protocol/SetupData.h>

#include <cstdint>

namespace qzr {

// Everything a unit is set up with for one sensor: the display settings and
// the sensor's ID and sensitivity as the setup image keeps them.
struct TSensorSetup {
    TZT46Settings Settings;
    std::uint8_t SensorId = 0;
    float Sensitivity = 0;
    TFixedPointSensitivity FixedPoint;
};

// The largest user multiplier and divider the unit's fields and the window's
// entry fields hold.
inline constexpr qint32 LargestUserScaling = 32767;
// The largest number of decimals the unit's display shows.
inline constexpr int LargestDecimals = 3;

// Derives the set-up for a catalogue record, a sensitivity and the unit's
// firmware version, and checks that every value fits its field in the setup
// image: the sensor ID 0 to 255, the fixed-point sensitivity a signed 16-bit
// word, the multiplier and divider 0 to LargestUserScaling, the decimals 0 to
// LargestDecimals. Throws ESensorSettingsError naming the value and the
// sensor otherwise, before anything is changed.
TSensorSetup SensorSetupFor(const TSensorRecord& sensor, float sensitivity, int firmwareVersion);

// Writes a set-up into bytes 36 to 51 of a setup image: amplifier selection,
// user multiplier and divider, decimals, sign rule, sensor ID, sensitivity
// and its fixed-point form (bytes 50-51 keep their value when the set-up
// carries none). The calibration constants, bytes 0 to 35, and the unit's own
// bytes 52 to 63 stay as they are.
void ApplySensorSetup(TSetupData& image, const TSensorSetup& setup);

} // namespace qzr
