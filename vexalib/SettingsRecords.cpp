#include "SettingsRecords.h"

#include "ByteOrder.h"

#include <algorithm>

namespace vexa {

void putSpiTransferSettings(std::uint8_t* at, const SpiTransferSettings& settings)
{
    putU32(at, settings.bitRate);
    putU16(at + 4, settings.idleCsValues);
    putU16(at + 6, settings.activeCsValues);
    putU16(at + 8, settings.delay1);
    putU16(at + 10, settings.delay2);
    putU16(at + 12, settings.delay3);
    putU16(at + 14, settings.txferSize);
    at[16] = settings.spiMode;
}

SpiTransferSettings getSpiTransferSettings(const std::uint8_t* at)
{
    SpiTransferSettings settings;
    settings.bitRate = getU32(at);
    settings.idleCsValues = getU16(at + 4);
    settings.activeCsValues = getU16(at + 6);
    settings.delay1 = getU16(at + 8);
    settings.delay2 = getU16(at + 10);
    settings.delay3 = getU16(at + 12);
    settings.txferSize = getU16(at + 14);
    settings.spiMode = at[16];
    return settings;
}

void putChipSettings(std::uint8_t* at, const ChipSettings& settings)
{
    std::copy(settings.pinDesignations.begin(), settings.pinDesignations.end(), at);
    putU16(at + 9, settings.defaultOutputs);
    putU16(at + 11, settings.defaultDirections);
    at[13] = settings.settingsByte;
}

ChipSettings getChipSettings(const std::uint8_t* at)
{
    ChipSettings settings;
    std::copy(at, at + pinCount, settings.pinDesignations.begin());
    settings.defaultOutputs = getU16(at + 9);
    settings.defaultDirections = getU16(at + 11);
    settings.settingsByte = at[13];
    return settings;
}

} // namespace vexa
