#include "SettingsCommands.h"

#include "ChipCommands.h"
#include "CommandExchange.h"

#include <array>
#include <cstring>

namespace vexa {
namespace {

constexpr std::size_t spiSettingsCommandLength = 21;
constexpr std::size_t spiSettingsResponseLength = 21;
constexpr std::uint8_t spiSettingsRecordLength = 0x11;
constexpr std::size_t chipSettingsResponseLength = 19;
constexpr std::size_t setChipSettingsCommandLength = 18;
constexpr std::size_t setChipSettingsResponseLength = 3;
constexpr std::size_t accessControlOffset = 18;
constexpr std::size_t passwordOffset = 19;
constexpr std::size_t powerUpChipSettingsCommandLength = 27;

} // namespace

std::int32_t readCurrentSpiSettings(VexaHandle handle, SpiTransferSettings& settings)
{
    const std::array<std::uint8_t, 1> command{VEXA_CMD_GET_SPI_SETTINGS};
    std::array<std::uint8_t, spiSettingsResponseLength> response{};
    if (const auto result = runCommand(handle, command, response); result != VEXA_OK)
        return result;
    if (response[2] != spiSettingsRecordLength)
        return VEXA_CHIP_REFUSED;
    settings = getSpiTransferSettings(response.data() + recordOffset);
    return VEXA_OK;
}

std::int32_t writeCurrentSpiSettings(VexaHandle handle, const SpiTransferSettings& wanted,
                                     SpiTransferSettings& applied)
{
    std::array<std::uint8_t, spiSettingsCommandLength> command{VEXA_CMD_SET_SPI_SETTINGS};
    putSpiTransferSettings(command.data() + recordOffset, wanted);
    std::array<std::uint8_t, spiSettingsResponseLength> response{};
    const auto result =
        runCommand(handle, command, response, {{VEXA_ST_BUSY, VEXA_SPI_SETTINGS_BUSY}});
    if (result != VEXA_OK)
        return result;
    applied = getSpiTransferSettings(response.data() + recordOffset);
    return VEXA_OK;
}

std::int32_t readPowerUpSpiSettings(VexaHandle handle, SpiTransferSettings& settings)
{
    std::array<std::uint8_t, spiSettingsResponseLength> response{};
    const auto result = readPowerUpRecord(handle, VEXA_NV_SPI_SETTINGS, response);
    if (result != VEXA_OK)
        return result;
    settings = getSpiTransferSettings(response.data() + recordOffset);
    return VEXA_OK;
}

std::int32_t writePowerUpSpiSettings(VexaHandle handle, const SpiTransferSettings& settings)
{
    // The record is followed by zero bytes up to a whole command.
    std::array<std::uint8_t, commandSize> command{VEXA_CMD_WRITE_NVRAM, VEXA_NV_SPI_SETTINGS};
    putSpiTransferSettings(command.data() + recordOffset, settings);
    return writePowerUpRecord(handle, command);
}

std::int32_t readCurrentChipSettings(VexaHandle handle, ChipSettings& settings)
{
    const std::array<std::uint8_t, 1> command{VEXA_CMD_GET_CHIP_SETTINGS};
    std::array<std::uint8_t, chipSettingsResponseLength> response{};
    if (const auto result = runCommand(handle, command, response); result != VEXA_OK)
        return result;
    settings = getChipSettings(response.data() + recordOffset);
    return VEXA_OK;
}

std::int32_t writeCurrentChipSettings(VexaHandle handle, const ChipSettings& settings)
{
    std::array<std::uint8_t, setChipSettingsCommandLength> command{VEXA_CMD_SET_CHIP_SETTINGS};
    putChipSettings(command.data() + recordOffset, settings);
    std::array<std::uint8_t, setChipSettingsResponseLength> response{};
    return runCommand(handle, command, response);
}

std::int32_t readPowerUpChipSettings(VexaHandle handle, ChipSettings& settings,
                                     std::uint8_t& accessControl)
{
    std::array<std::uint8_t, chipSettingsResponseLength> response{};
    const auto result = readPowerUpRecord(handle, VEXA_NV_CHIP_SETTINGS, response);
    if (result != VEXA_OK)
        return result;
    settings = getChipSettings(response.data() + recordOffset);
    accessControl = response[accessControlOffset];
    return VEXA_OK;
}

std::int32_t writePowerUpChipSettings(VexaHandle handle, const ChipSettings& settings,
                                      std::uint8_t accessControl, const char* password)
{
    std::array<std::uint8_t, powerUpChipSettingsCommandLength> command{VEXA_CMD_WRITE_NVRAM,
                                                                       VEXA_NV_CHIP_SETTINGS};
    putChipSettings(command.data() + recordOffset, settings);
    command[accessControlOffset] = accessControl;
    if (password != nullptr)
        std::memcpy(command.data() + passwordOffset, password, VEXA_PASSWORD_CHARS);
    return writePowerUpRecord(handle, command);
}

} // namespace vexa
