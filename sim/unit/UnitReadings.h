#pragma once

#include <cstdint>

#include "sim/unit/Zt46Unit.h"

// The unit's four live readings from its input signal, battery voltage and
// working setup image (formula in Zt46Unit.h).
namespace sim {

Zt46Unit::Readings computeReadings(const qzr::TSetupData& setup, double inputMicrovolts,
                                   std::int32_t batteryMillivolts);

// The amplifier range (0..5) the image selects; a word above 11 selects 32x.
std::size_t selectedRange(const qzr::TSetupData& setup);

} // namespace sim
