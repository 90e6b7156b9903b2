#include "sim/unit/UnitReadings.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sim/unit/UnitHardware.h"

namespace sim {

namespace {

std::int16_t clampToInt16(std::int64_t value)
{
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

std::int64_t scale(std::int64_t value, std::int16_t multiplier, std::int16_t divider)
{
    if (divider == 0)
        return 0;
    return value * multiplier / divider;
}

} // namespace

std::size_t selectedRange(const qzr::TSetupData& setup)
{
    return static_cast<std::size_t>(std::min(setup.AmplifierIndex(), 5));
}

Zt46Unit::Readings computeReadings(const qzr::TSetupData& setup, double inputMicrovolts,
                                   std::int32_t batteryMillivolts)
{
    const std::size_t range = selectedRange(setup);
    const AmplifierHardware& amplifier = UnitAmplifiers[range];
    const double idealCounts =
        inputMicrovolts * Zt46Unit::FullRangeCounts[range] / Zt46Unit::RangeMicrovolts[range];
    const double rawCounts = amplifier.offsetCounts + idealCounts * amplifier.gain;
    const std::int16_t rawInput = clampToInt16(std::llround(std::clamp(rawCounts, -1.0e9, 1.0e9)));

    const int index = static_cast<int>(range);
    const std::int16_t offset = setup.AmpOffset(index);
    const std::int16_t multiplier = setup.AmpMultiplier(index);
    const std::int16_t divider = setup.AmpDivider(index);
    const std::int16_t calibrated =
        clampToInt16(scale(std::int64_t{rawInput} - offset, multiplier, divider));
    std::int16_t userAdjusted =
        clampToInt16(scale(calibrated, setup.UserMultiplier(), setup.UserDivider()));
    if (!setup.NegativesAllowed() && userAdjusted < 0)
        userAdjusted = 0;
    return {rawInput, clampToInt16(batteryMillivolts), calibrated, userAdjusted};
}

} // namespace sim
