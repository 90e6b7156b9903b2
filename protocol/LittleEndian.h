#pragma once

#include <cstddef>
#include <cstdint>

// Little-endian field access in byte arrays: the byte order of the unit's
// messages, its images and the logged-data files.
namespace qzr {

inline std::uint16_t ReadU16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline std::int16_t ReadS16(const std::uint8_t* bytes)
{
    return static_cast<std::int16_t>(ReadU16(bytes));
}

inline std::uint32_t ReadU32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

inline std::int32_t ReadS32(const std::uint8_t* bytes)
{
    return static_cast<std::int32_t>(ReadU32(bytes));
}

inline void WriteU16(std::uint8_t* bytes, std::uint16_t value)
{
    bytes[0] = static_cast<std::uint8_t>(value);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void WriteS16(std::uint8_t* bytes, std::int16_t value)
{
    WriteU16(bytes, static_cast<std::uint16_t>(value));
}

inline void WriteU32(std::uint8_t* bytes, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void WriteS32(std::uint8_t* bytes, std::int32_t value)
{
    WriteU32(bytes, static_cast<std::uint32_t>(value));
}

} // namespace qzr
