#pragma once

#include "vexalib.h"

#include <chrono>
#include <cstdint>
#include <functional>

// One SPI transaction through the chip's transfer command (0x42): the
// transmit bytes go out in chunks of at most 60, the received bytes come
// back in the answers, and a busy chip is asked again after a pause.
namespace vexa {

inline constexpr std::uint32_t maximumChunkSize = 60;

// The pause after a busy answer: 100000 / bitRate + 1 ms, the time of about
// one byte at that rate. A rate of 0 (which the chip does not report) gets the
// shortest pause, 1 ms.
std::uint32_t busyDelayMilliseconds(std::uint32_t bitRate);

// The pause actually taken after a busy answer: the delay of the reported
// rate, but never longer than the delay of the lowest rate the chip can be
// set to (VEXA_BUSY_PAUSE_LIMIT_MS), whatever rate a faulty chip reports.
std::uint32_t busyPauseMilliseconds(std::uint32_t bitRate);

// How the transfer waits after a busy answer. The library sleeps; tests put a
// recorder in its place.
using BusyPause = std::function<void(std::chrono::milliseconds)>;

// Sleeps the calling thread for the given time.
void sleepFor(std::chrono::milliseconds pause);

// Sends `size` bytes of txData and receives `size` bytes into rxData, reading
// and writing nothing beyond them. Gives VEXA_OK or the first failure: a
// transport code, VEXA_FAILED (short response, unknown status or engine
// state), VEXA_ECHO_MISMATCH, VEXA_SPI_TRANSFER_REFUSED, VEXA_TRANSFER_SHORT
// or, after VEXA_TRANSFER_ROUNDS busy answers and polls,
// VEXA_TRANSFER_GAVE_UP.
std::int32_t runSpiTransfer(VexaHandle handle, const std::uint8_t* txData, std::uint8_t* rxData,
                            std::uint32_t bitRate, std::uint32_t size, const BusyPause& pause);

} // namespace vexa
