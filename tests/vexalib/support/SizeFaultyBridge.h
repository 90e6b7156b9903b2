#pragma once

#include "ScriptedBridge.h"

#include <memory>
#include <optional>

// A bridge that keeps the SPI transfer settings it is given, as a chip does,
// but can be made to lie about the transaction size: it applies another size
// than the one written (0x40), or reports another one when its settings are
// read (0x41). Every other command is answered by a scripted bridge that
// echoes transfer chunks at once.
namespace vexatest {

struct SizeFault {
    // The size the chip applies, and answers to 0x40 with, whatever it is given.
    std::optional<std::uint16_t> applied;
    // The size the chip reports to 0x41, whatever it holds.
    std::optional<std::uint16_t> reported;
};

ScriptedBusDevice::Script sizeFaultyBridge(SpiRecord spi, SizeFault fault);

// The same with a fault that the test may change while the device runs (for
// a chip that starts to lie after a good start). The device thread reads it.
ScriptedBusDevice::Script sizeFaultyBridge(SpiRecord spi, std::shared_ptr<const SizeFault> fault);

} // namespace vexatest
