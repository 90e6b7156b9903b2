#pragma once

#include <cstddef>
#include <cstdint>

#include "sim/bridge/VexaProtocol.h"

// Little-endian fields inside a command or response report, and the response
// header.
namespace sim::vexa {

inline std::uint16_t getU16(const Report& report, std::size_t offset)
{
    return static_cast<std::uint16_t>(report[offset] | (report[offset + 1] << 8));
}

inline std::uint32_t getU32(const Report& report, std::size_t offset)
{
    return static_cast<std::uint32_t>(getU16(report, offset)) |
           static_cast<std::uint32_t>(getU16(report, offset + 2)) << 16;
}

inline void putU16(Report& report, std::size_t offset, std::uint16_t value)
{
    report[offset] = static_cast<std::uint8_t>(value);
    report[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void putU32(Report& report, std::size_t offset, std::uint32_t value)
{
    putU16(report, offset, static_cast<std::uint16_t>(value));
    putU16(report, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

// A response report with its header: the echoed command code and the status.
inline Report makeResponse(std::uint8_t command, std::uint8_t status)
{
    Report response{};
    response[0] = command;
    response[1] = status;
    return response;
}

} // namespace sim::vexa
