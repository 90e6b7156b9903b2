#pragma once

#include <cstdint>

#include "sim/unit/Zt46Unit.h"

// What a demonstration unit carries: set up for the catalogue's temperature
// probe (sensor 20, 1000 uV per degree, 150 degrees full scale, one decimal)
// and a logger that recorded a day with it.
namespace sim {

// The catalogue's sensor that the demonstration unit is set up for.
inline constexpr std::uint8_t DemoSensorId = 20;

// The factory image with the user settings that the settings wizard computes
// for the temperature probe: 1x range, multiplier 1500, divider 15000, one
// decimal, negatives shown, sensitivity 1000.
qzr::TSetupData temperatureProbeSetupImage();

// One day of room temperature in tenths of a degree (one decimal), one record
// a minute, cooler at night, warmer in the afternoon, with a little noise. The
// same start time always gives the same recording.
LoggerRecording temperatureDayRecording(std::int32_t startTime);

} // namespace sim
