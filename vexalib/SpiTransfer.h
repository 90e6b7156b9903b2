#pragma once

#include "SpiTransferEngine.h"
#include "vexalib.h"

#include <cstdint>

// The SPI transaction of Vexa_xferSpiData, with what the caller's buffers
// hold and the busy pause given by the caller of this function.
namespace vexa {

// The largest transaction the chip's settings can name; a wanted size above
// it keeps the chip's size.
inline constexpr std::uint32_t largestTransactionSize = 0xFFFF;

// Vexa_xferSpiData with the transaction limited to `bufferSize` bytes: a chip
// whose settings name more (as read, or as it applied a wanted size) gives
// VEXA_FAILED before anything is designated or transferred.
std::int32_t transferSpiData(VexaHandle handle, const std::uint8_t* txData, std::uint8_t* rxData,
                             std::uint32_t* bitRate, std::uint32_t* txferSize, std::uint32_t csMask,
                             std::uint32_t bufferSize, const BusyPause& pause);

} // namespace vexa
