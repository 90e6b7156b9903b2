#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The two settings records that several commands carry, from offset 4 of the
// command or response.
namespace vexa {

inline constexpr std::size_t recordOffset = 4;

// SPI transfer settings: 17 bytes at offsets 4 to 20.
struct SpiTransferSettings {
    std::uint32_t bitRate = 0;
    std::uint16_t idleCsValues = 0;
    std::uint16_t activeCsValues = 0;
    std::uint16_t delay1 = 0;
    std::uint16_t delay2 = 0;
    std::uint16_t delay3 = 0;
    std::uint16_t txferSize = 0;
    std::uint8_t spiMode = 0;
};
inline constexpr std::size_t spiTransferSettingsSize = 17;

void putSpiTransferSettings(std::uint8_t* at, const SpiTransferSettings& settings);
SpiTransferSettings getSpiTransferSettings(const std::uint8_t* at);

inline constexpr std::size_t pinCount = 9;

// Chip settings: 14 bytes at offsets 4 to 17.
struct ChipSettings {
    std::array<std::uint8_t, pinCount> pinDesignations{};
    std::uint16_t defaultOutputs = 0;
    std::uint16_t defaultDirections = 0;
    // Bit 4, bits 1-3 and bit 0 are the library's fields; bits 5-7 pass
    // through as the chip gives them.
    std::uint8_t settingsByte = 0;
};
inline constexpr std::size_t chipSettingsSize = 14;

void putChipSettings(std::uint8_t* at, const ChipSettings& settings);
ChipSettings getChipSettings(const std::uint8_t* at);

} // namespace vexa
