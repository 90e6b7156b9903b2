#pragma once

#include <cstdint>

namespace qzr {

// The cradle kind a connection drives: the plain HID chip of the older cradle
// or the SPI bridge chip of the newer one.
enum TInterfaceChip : std::uint8_t { ifUndefined = 0, ifCypress = 1, ifSorvik = 2 };

} // namespace qzr
