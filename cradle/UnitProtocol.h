#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Value types and constants of the ZT-46 readout unit's framed protocol, shared
// by the program and the simulator's unit model.
namespace qzr {

// Frame control bytes.
inline constexpr std::uint8_t DLE = 0x10;
inline constexpr std::uint8_t STX = 0x02;
inline constexpr std::uint8_t ETX = 0x03;

// Seed of the 8-bit XOR checksum of frames sent to the unit.
inline constexpr std::uint8_t ToUnitChecksumSeed = 0xA5;

// Every message to the unit is built in a zero-filled buffer of this size.
inline constexpr std::size_t MessageBufferSize = 21;
using TMessageBuffer = std::array<std::uint8_t, MessageBufferSize>;

// A frame from the unit carries at most this many unstuffed bytes
// (message plus two checksum bytes).
inline constexpr std::size_t MaxUnstuffedFrameBytes = 512;

// Message IDs, the same in both directions.
enum TMessageId : std::uint8_t {
    msgIdentify = 0x00,
    msgSession = 0x01,
    msgReadSetup = 0x20,
    msgRealtime = 0x21,
    msgWriteSetup = 0x22,
    msgFlashFactory = 0x23,
    msgFlashUser = 0x24,
    msgVersion = 0x25,
    msgDone = 0x26,
    msgLoggerStatus = 0x27,
    msgStartLogger = 0x28,
    msgReadLog = 0x29,
};

// The unit's 64-byte setup image; little-endian fields.
inline constexpr std::size_t SetupDataSize = 64;
using TSetupData = std::array<std::uint8_t, SetupDataSize>;

// The unit's two non-volatile setup areas.
enum TNvmArea : std::uint8_t { nvmFactory = 0, nvmUser = 1 };

// The unit's logger memory image: a 14-byte head (start time, delay, interval,
// decimals, sensor ID) followed by interval records of minimum, maximum and
// integral; erased memory reads 0xFF.
inline constexpr std::size_t LogDataSize = 28160;
inline constexpr std::size_t LogHeadSize = 14;
inline constexpr std::size_t LogRecordSize = 8;
inline constexpr std::size_t LogRecordCount = 3518;
using TLogData = std::array<std::uint8_t, LogDataSize>;

// Logger states reported in the status reply.
enum TLoggerState : std::uint8_t {
    lsIdle = 0,
    lsArmed = 2,
    lsLogging = 4,
    lsMemoryFull = 6,
    lsBatteryLow = 8,
};

} // namespace qzr
