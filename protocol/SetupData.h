#pragma once

#include "protocol/AmplifierRanges.h"
#include "protocol/LittleEndian.h"

#include <algorithm>

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

// The unit's 64-byte setup image: calibration constants of the six amplifier
// ranges, the selected range, the user scaling of the display, the decimal
// dot, the sign rule and the attached sensor. Multi-byte fields are
// little-endian. Bytes 52 to 63 are the unit's own and are carried unchanged.
namespace qzr {

// The unit's two non-volatile setup areas.
enum TNvmArea : std::uint8_t { nvmFactory = 0, nvmUser = 1 };

// Byte offsets of the fields; `range` is the amplifier index 0 (1x) to 5 (32x).
namespace SetupOffset {
constexpr std::size_t AmpOffset(int range)
{
    return 0 + 2 * static_cast<std::size_t>(range);
}
constexpr std::size_t AmpMultiplier(int range)
{
    return 12 + 2 * static_cast<std::size_t>(range);
}
constexpr std::size_t AmpDivider(int range)
{
    return 24 + 2 * static_cast<std::size_t>(range);
}
inline constexpr std::size_t AmplifierSelection = 36;  // unsigned 16: twice the range index
inline constexpr std::size_t UserMultiplier = 38;      // signed 16
inline constexpr std::size_t UserDivider = 40;         // signed 16
inline constexpr std::size_t Decimals = 42;            // unsigned 8: 0 to 3
inline constexpr std::size_t NegativesAllowed = 43;    // 255 yes, 0 no; read as yes when not 0
inline constexpr std::size_t SensorId = 44;            // unsigned 8: catalogue key
inline constexpr std::size_t Sensitivity = 45;         // IEEE 754 single
inline constexpr std::size_t SensitivityDecimals = 49; // 0 to 3; 255: no fixed-point value
inline constexpr std::size_t SensitivityFixed = 50;    // signed 16: sensitivity x 10^decimals
inline constexpr std::size_t Carried = 52;             // 52 to 63: not interpreted
} // namespace SetupOffset

inline constexpr std::size_t SetupDataSize = 64;

// The image as raw bytes (what travels and what the unit stores) with named
// accessors for its fields.
struct TSetupData : std::array<std::uint8_t, SetupDataSize> {
    std::int16_t S16(std::size_t at) const { return ReadS16(data() + at); }
    std::uint16_t U16(std::size_t at) const { return ReadU16(data() + at); }
    void SetS16(std::size_t at, std::int16_t value) { WriteS16(data() + at, value); }
    void SetU16(std::size_t at, std::uint16_t value) { WriteU16(data() + at, value); }

    std::int16_t AmpOffset(int range) const { return S16(SetupOffset::AmpOffset(range)); }
    std::int16_t AmpMultiplier(int range) const { return S16(SetupOffset::AmpMultiplier(range)); }
    std::int16_t AmpDivider(int range) const { return S16(SetupOffset::AmpDivider(range)); }
    // The range index as the window shows it: the word divided by 2, rounded
    // down (it may exceed 5 in a foreign image).
    int AmplifierIndex() const { return U16(SetupOffset::AmplifierSelection) / 2; }
    // The range the selectors show: a word whose half lies beyond the last
    // range shows as the last range.
    int ShownAmplifierIndex() const { return std::min(AmplifierIndex(), AmplifierRangeCount - 1); }
    void SetAmplifierIndex(int index)
    {
        SetU16(SetupOffset::AmplifierSelection, static_cast<std::uint16_t>(index * 2));
    }
    std::int16_t UserMultiplier() const { return S16(SetupOffset::UserMultiplier); }
    std::int16_t UserDivider() const { return S16(SetupOffset::UserDivider); }
    std::uint8_t Decimals() const { return (*this)[SetupOffset::Decimals]; }
    bool NegativesAllowed() const { return (*this)[SetupOffset::NegativesAllowed] != 0; }
    void SetNegativesAllowed(bool allowed)
    {
        (*this)[SetupOffset::NegativesAllowed] = allowed ? 255 : 0;
    }
    std::uint8_t SensorId() const { return (*this)[SetupOffset::SensorId]; }

    float Sensitivity() const
    {
        return std::bit_cast<float>(ReadU32(data() + SetupOffset::Sensitivity));
    }
    void SetSensitivity(float value)
    {
        WriteU32(data() + SetupOffset::Sensitivity, std::bit_cast<std::uint32_t>(value));
    }
    std::uint8_t SensitivityDecimals() const { return (*this)[SetupOffset::SensitivityDecimals]; }
    std::int16_t SensitivityFixed() const { return S16(SetupOffset::SensitivityFixed); }
};

} // namespace qzr
