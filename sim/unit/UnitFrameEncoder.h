#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The unit's side of the sending link: frames one message as DLE STX, the
// message and its 16-bit additive checksum (low byte first) with every 0x10
// doubled, DLE ETX.
namespace sim {

// With `corruptChecksum` the checksum is off by one, as a line error would
// leave it.
std::vector<std::uint8_t> encodeUnitFrame(std::span<const std::uint8_t> message,
                                          bool corruptChecksum = false);

} // namespace sim
