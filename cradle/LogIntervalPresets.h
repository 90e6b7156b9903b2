#pragma once

#include <array>
#include <cstdint>

namespace qzr {

// The log interval presets offered on the datalogger sheet, in list order.
struct TLogIntervalPreset {
    const char* item;
    std::uint16_t seconds;
};

inline constexpr std::array<TLogIntervalPreset, 13> LogIntervalPresets = {{
    {"30 seconds", 30},
    {"1 minute", 60},
    {"2 minutes", 120},
    {"5 minutes", 300},
    {"10 minutes", 600},
    {"15 minutes", 900},
    {"30 minutes", 1800},
    {"1 hour", 3600},
    {"2 hours", 7200},
    {"3 hours", 10800},
    {"4 hours", 14400},
    {"6 hours", 21600},
    {"12 hours", 43200},
}};

} // namespace qzr
