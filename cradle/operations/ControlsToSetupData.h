#pragma once

#include "cradle/operations/SetupControls.h"
#include "protocol/SetupData.h"

namespace qzr {

// Field limits of the controls: what the window's entry fields accept.
inline constexpr std::int32_t OffsetLowest = -32768;
inline constexpr std::int32_t OffsetHighest = 32767;
inline constexpr std::int32_t FactorLowest = 0; // multipliers and dividers
inline constexpr std::int32_t FactorHighest = 32767;
inline constexpr int DecimalDotHighest = 3;

// Rebuilds bytes 0 to 43 of `image` from the control values, field by field
// in the order of the image: the eighteen calibration values (offsets,
// multipliers, dividers, each 1x to 32x), the amplifier selection (twice the
// index), the user multiplier and divider, the decimal-dot position and the
// negatives flag (255 or 0). Each value is checked against its field's own
// range before it is stored; the first one outside throws ERangeError naming
// the field ("Divider 8x: 40000 is outside 0 to 32767"), the fields before it
// keeping their new values. Bytes 44 to 63 are left as they are.
void ControlsToSetupData(const TSetupControls& controls, TSetupData& image);

// The control values as the window shows `image`: the inverse of
// ControlsToSetupData for bytes 0 to 43.
TSetupControls SetupControlsShowing(const TSetupData& image);

} // namespace qzr
