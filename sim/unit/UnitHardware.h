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

qzr::TSetupData factorySetupImage();

} // namespace sim
