#pragma once

#include <cstddef>
#include <cstdint>

// Little-endian field access in byte arrays, the byte order of the unit's
// messages and images.
namespace sim {

inline std::uint16_t readU16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline std::int16_t readS16(const std::uint8_t* bytes)
{
    return static_cast<std::int16_t>(readU16(bytes));
}

inline std::uint32_t readU32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

inline std::int32_t readS32(const std::uint8_t* bytes)
{
    return static_cast<std::int32_t>(readU32(bytes));
}

inline void writeU16(std::uint8_t* bytes, std::uint16_t value)
{
    bytes[0] = static_cast<std::uint8_t>(value);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void writeU32(std::uint8_t* bytes, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace sim
