#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/unit/Zt46Unit.h"

// The pieces of the simulator's logger commands: `record` fills a unit's
// logger with a recorded day, `advance` runs its clock ahead.
namespace sim {

// The longest step `advance` takes at once.
inline constexpr std::chrono::hours LongestClockAdvance{24 * 31};

// "90" or "90s", "15m", "12h", "2d": a positive duration of at most 31 days;
// throws std::invalid_argument.
std::chrono::seconds parseClockAdvance(std::string_view text);

// "2024-03-12" and an optional "08:00": local time as the unit counts it,
// seconds from 2000-01-01 00:00:00; throws std::invalid_argument for another
// form or a time the unit cannot count.
std::int32_t parseRecordingStart(std::string_view date, std::string_view time);

// The computer's local time now, as the unit counts it.
std::int32_t unitSecondsNow();

// One line on the unit's logger: its state and what it holds, e.g.
// "logger armed, logging starts in 43200 s, 0 of 3518 records".
std::string describeLogger(const Zt46Unit& unit);

} // namespace sim
