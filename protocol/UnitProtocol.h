#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Frame bytes and message IDs of the ZT-46 readout unit's framed protocol,
// shared by the program and the simulator's unit model.
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

} // namespace qzr
