#pragma once

#include <cstdint>

#include "sim/unit/Zt46Unit.h"

// A realistic logger recording for demonstrations: one day of room
// temperature in tenths of a degree (one decimal), one record a minute,
// cooler at night, warmer in the afternoon, with a little noise. The same
// start time always gives the same recording.
namespace sim {

LoggerRecording temperatureDayRecording(std::int32_t startTime);

} // namespace sim
