#pragma once

#include "vexalib.h"

#include <cstdint>

// One SPI transaction through the chip's transfer command (0x42): the
// transmit bytes go out in chunks of at most 60, the received bytes come
// back in the answers, and a busy chip is asked again after a pause.
namespace vexa {

inline constexpr std::uint32_t maximumChunkSize = 60;

// The pause after a busy answer: 100000 / bitRate + 1 ms, the time of about
// one byte at that rate. A rate of 0 (which the chip does not report) gets the
// shortest pause, 1 ms.
std::uint32_t busyDelayMilliseconds(std::uint32_t bitRate);

// Sends `size` bytes of txData and receives `size` bytes into rxData. Gives
// VEXA_OK or the first failure: a transport code, VEXA_FAILED (short response,
// unknown status or engine state), VEXA_ECHO_MISMATCH,
// VEXA_SPI_TRANSFER_REFUSED, VEXA_TRANSFER_SHORT or, after
// VEXA_TRANSFER_ROUNDS busy answers and polls, VEXA_TRANSFER_GAVE_UP.
std::int32_t runSpiTransfer(VexaHandle handle, const std::uint8_t* txData, std::uint8_t* rxData,
                            std::uint32_t bitRate, std::uint32_t size);

} // namespace vexa
