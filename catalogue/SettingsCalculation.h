#pragma once

#include "SensorRecord.h"

#include <QtGlobal>

namespace qzr {

// The unit's display settings for a sensor: the input amplifier range, the
// user scaling of the display and the sign rule.
struct TZT46Settings {
    int AmplifierSetting = 0; // range index 0 (1x) to 5 (32x)
    qint32 Multiplier = 0;    // full-scale reading in display digits
    qint32 Divider = 0;       // counts of the selected range at full-scale input
    int DecDotSetting = 0;    // decimals on the display
    bool NegativesAllowed = false;

    bool operator==(const TZT46Settings&) const = default;
};

// Derives the settings from a catalogue record and the sensor's sensitivity:
// the input per display unit a (the sensitivity, or resistor / sensitivity
// for a current output), the full-scale input b = sensor_FS x a in
// microvolt, the most sensitive amplifier range that still holds b (1x when
// even 2x does not), and the multiplier and divider that make the selected
// range's counts at b read as sensor_FS on the display. Throws
// ESensorSettingsError when a current-output sensor has sensitivity 0, or
// when the multiplier or divider does not fit a signed 32-bit integer.
TZT46Settings CalculateZT46Settings(const TSensorRecord& sensor, float sensitivity);

} // namespace qzr
