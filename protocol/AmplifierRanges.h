#pragma once

#include <array>
#include <cstdint>

// The unit's six input amplifier ranges, index 0 (1x) to 5 (32x): shared by
// the setup image, the range selectors and the settings calculation.
namespace qzr {

struct TAmplifierRange {
    int Gain;                    // 1, 2, 4, 8, 16, 32
    std::int32_t RangeMicrovolt; // input at full range
    std::int32_t CountsAtFullRange;
};

inline constexpr int AmplifierRangeCount = 6;

// The counts are not a constant fraction of the range: the first three ranges
// have 10 counts per 100 microvolt, the last three 1 count per microvolt.
inline constexpr std::array<TAmplifierRange, AmplifierRangeCount> AmplifierRanges{{
    {1, 200000, 20000},
    {2, 100000, 10000},
    {4, 50000, 5000},
    {8, 25000, 25000},
    {16, 12500, 12500},
    {32, 6250, 6250},
}};

} // namespace qzr
