#pragma once

#include <cstdint>

namespace qzr {

// The progress meter's reading for `done` of `total`: done x 100 / total,
// rounded to the nearest integer, halves to even (12.5 gives 12, 37.5 gives
// 38). `total` must not be 0.
constexpr int ProgressPercent(std::uint32_t done, std::uint32_t total)
{
    const std::uint64_t scaled = std::uint64_t{done} * 100;
    std::uint64_t percent = scaled / total;
    const std::uint64_t twiceRemainder = 2 * (scaled % total);
    if (twiceRemainder > total || (twiceRemainder == total && percent % 2 == 1))
        ++percent;
    return static_cast<int>(percent);
}

} // namespace qzr
