#pragma once

#include "SettingsRecords.h"
#include "vexalib.h"

#include <cstdint>

// Reading and writing the settings records, current and power-up. Each is one
// command exchange with its checks; the results are the exchange's codes.
namespace vexa {

// True for the two settings selectors, VEXA_CFG_CURRENT and VEXA_CFG_POWERUP.
inline bool isSelector(std::uint8_t selector)
{
    return selector == VEXA_CFG_CURRENT || selector == VEXA_CFG_POWERUP;
}

// Command 0x41; the record-length byte at offset 2 must be 17.
std::int32_t readCurrentSpiSettings(VexaHandle handle, SpiTransferSettings& settings);

// Command 0x40; `applied` receives the settings as the chip applied them. A
// busy chip gives VEXA_SPI_SETTINGS_BUSY.
std::int32_t writeCurrentSpiSettings(VexaHandle handle, const SpiTransferSettings& wanted,
                                     SpiTransferSettings& applied);

// Command 0x61 / 0x10.
std::int32_t readPowerUpSpiSettings(VexaHandle handle, SpiTransferSettings& settings);

// Command 0x60 / 0x10.
std::int32_t writePowerUpSpiSettings(VexaHandle handle, const SpiTransferSettings& settings);

// Command 0x20.
std::int32_t readCurrentChipSettings(VexaHandle handle, ChipSettings& settings);

// Command 0x21.
std::int32_t writeCurrentChipSettings(VexaHandle handle, const ChipSettings& settings);

// Command 0x61 / 0x20, with the access-control byte that follows the record.
std::int32_t readPowerUpChipSettings(VexaHandle handle, ChipSettings& settings,
                                     std::uint8_t& accessControl);

// Command 0x60 / 0x20 with the access-control byte and an 8-byte new password
// (`password` null: all zero).
std::int32_t writePowerUpChipSettings(VexaHandle handle, const ChipSettings& settings,
                                      std::uint8_t accessControl, const char* password);

} // namespace vexa
