#include "FixedPointSensitivity.h"

#include "RoundHalfEven.h"
#include "SensorSettingsError.h"

#include <array>
#include <cmath>
#include <limits>

namespace qzr {

namespace {

struct TFixedPointStep {
    double Below;
    std::uint8_t Decimals;
    double Factor;
};

constexpr std::array<TFixedPointStep, 4> FixedPointSteps{{
    {10, 3, 1000},
    {100, 2, 100},
    {1000, 1, 10},
    {10000, 0, 1},
}};

} // namespace

TFixedPointSensitivity FixedPointSensitivity(float sensitivity, int firmwareVersion,
                                             const TSensorRecord& sensor)
{
    TFixedPointSensitivity fixed{NoFixedPointSensitivity, std::nullopt};
    for (const TFixedPointStep& step : FixedPointSteps) {
        if (!(sensitivity < step.Below))
            continue;
        constexpr std::int16_t lowest = std::numeric_limits<std::int16_t>::min();
        constexpr std::int16_t highest = std::numeric_limits<std::int16_t>::max();
        const double scaled = double(sensitivity) * step.Factor;
        const auto rounded = RoundedWithin(scaled, lowest, highest);
        if (!rounded)
            throw OutOfRange(QStringLiteral("Fixed-point sensitivity"), sensor.sensor_name,
                             std::nearbyint(scaled), lowest, highest);
        fixed = {step.Decimals, static_cast<std::int16_t>(*rounded)};
        break;
    }
    if (firmwareVersion < FirstFirmwareWithFixedPointSensitivity)
        fixed.Decimals = NoFixedPointSensitivity;
    return fixed;
}

} // namespace qzr
