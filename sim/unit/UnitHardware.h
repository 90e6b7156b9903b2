#pragma once

#include <cstdint>

#include "protocol/SetupData.h"

// The simulated unit's analogue front end and the factory image that a fresh
// unit carries, calibrated to match that front end.
namespace sim {

// Zero-input reading (in counts) and gain error of each amplifier range.
struct AmplifierHardware {
    std::int32_t offsetCounts;
    double gain;
};

inline constexpr AmplifierHardware UnitAmplifiers[6] = {
    {12, 1.0125}, {-8, 0.9931}, {23, 1.0047}, {41, 0.9978}, {87, 1.0089}, {163, 0.9904},
};

// Byte positions in the setup image.
inline constexpr std::size_t SetupOffsetAt = 0;
inline constexpr std::size_t SetupMultiplierAt = 12;
inline constexpr std::size_t SetupDividerAt = 24;
inline constexpr std::size_t SetupAmplifierAt = 36;
inline constexpr std::size_t SetupUserMultiplierAt = 38;
inline constexpr std::size_t SetupUserDividerAt = 40;
inline constexpr std::size_t SetupDecimalsAt = 42;
inline constexpr std::size_t SetupNegativesAt = 43;
inline constexpr std::size_t SetupSensorIdAt = 44;
inline constexpr std::size_t SetupSensitivityAt = 45;
inline constexpr std::size_t SetupFixedSensitivityDecimalsAt = 49;
inline constexpr std::size_t SetupFixedSensitivityAt = 50;
inline constexpr std::size_t SetupUnitBytesAt = 52;

qzr::TSetupData factorySetupImage();

} // namespace sim
