#pragma once

#include "sim/bridge/BridgeSettings.h"

// What the chip accepts of a settings record it is asked to store.
namespace sim {

// The SPI transfer settings as the chip applies them: the bit rate moved into
// minBitRate..maxBitRate, the SPI mode reduced to its low two bits.
SpiTransferSettings appliedSpiSettings(SpiTransferSettings settings, std::uint32_t minBitRate,
                                       std::uint32_t maxBitRate);

// Pin designations 0-2 and interrupt modes 0-4 only.
bool acceptableChipSettings(const ChipSettings& settings);

} // namespace sim
