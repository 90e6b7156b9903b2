#pragma once

#include <cmath>
#include <optional>

namespace qzr {

// A real number rounded to the nearest whole number, halves to even, when the
// result lies within lowest to highest; nothing when it does not (or the
// number is not finite).
inline std::optional<long long> RoundedWithin(double value, long long lowest, long long highest)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(lowest) && rounded <= static_cast<double>(highest)))
        return std::nullopt;
    return static_cast<long long>(rounded);
}

} // namespace qzr
