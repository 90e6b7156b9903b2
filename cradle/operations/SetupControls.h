#pragma once

#include <array>
#include <cstdint>

#include "protocol/AmplifierRanges.h"

namespace qzr {

// The values of the controls from which bytes 0 to 43 of the setup image are
// rebuilt. The values are wider than their fields: the "Link" copies of the
// live readings can put a value outside a field's range, and the range check
// of ControlsToSetupData catches it before anything is sent.
struct TSetupControls {
    // Per amplifier range, index 0 (1x) to 5 (32x).
    std::array<std::int32_t, AmplifierRangeCount> Offset{};
    std::array<std::int32_t, AmplifierRangeCount> Multiplier{};
    std::array<std::int32_t, AmplifierRangeCount> Divider{};
    // The selected amplifier range; -1 while none is selected.
    int AmplifierIndex = -1;
    std::int32_t UserMultiplier = 0;
    std::int32_t UserDivider = 0;
    // Item index of the decimal-dot selector: the number of decimals.
    int DecimalDotIndex = 0;
    bool NegativesAllowed = false;
};

} // namespace qzr
