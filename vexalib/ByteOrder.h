#pragma once

#include <cstdint>

// Little-endian fields of the chip's command and response layouts.
namespace vexa {

inline void putU16(std::uint8_t* at, std::uint16_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void putU32(std::uint8_t* at, std::uint32_t value)
{
    putU16(at, static_cast<std::uint16_t>(value));
    putU16(at + 2, static_cast<std::uint16_t>(value >> 16));
}

inline std::uint16_t getU16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

inline std::uint32_t getU32(const std::uint8_t* at)
{
    return getU16(at) | (static_cast<std::uint32_t>(getU16(at + 2)) << 16);
}

} // namespace vexa
