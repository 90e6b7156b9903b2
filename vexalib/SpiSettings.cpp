#include "DeviceHandle.h"
#include "SettingsCommands.h"
#include "vexalib.h"

using namespace vexa;

namespace {

constexpr uint32_t largestWord = 0xFFFF;
constexpr uint8_t largestSpiMode = 3;

// The caller's variables of the SPI transfer settings, in the order of the
// exports' arguments.
struct SpiSettingsArguments {
    uint32_t* bitRate;
    uint32_t* idleCsValues;
    uint32_t* activeCsValues;
    uint32_t* delay1;
    uint32_t* delay2;
    uint32_t* delay3;
    uint32_t* txferSize;
    uint8_t* spiMode;

    bool anyNull() const
    {
        return !bitRate || !idleCsValues || !activeCsValues || !delay1 || !delay2 || !delay3 ||
               !txferSize || !spiMode;
    }

    // The wanted settings; false when a value is out of its range.
    bool read(SpiTransferSettings& settings) const
    {
        if (*delay1 > largestWord || *delay2 > largestWord || *delay3 > largestWord ||
            *txferSize > largestWord || *spiMode > largestSpiMode)
            return false;
        settings.bitRate = *bitRate;
        settings.idleCsValues = static_cast<uint16_t>(*idleCsValues);
        settings.activeCsValues = static_cast<uint16_t>(*activeCsValues);
        settings.delay1 = static_cast<uint16_t>(*delay1);
        settings.delay2 = static_cast<uint16_t>(*delay2);
        settings.delay3 = static_cast<uint16_t>(*delay3);
        settings.txferSize = static_cast<uint16_t>(*txferSize);
        settings.spiMode = *spiMode;
        return true;
    }

    void store(const SpiTransferSettings& settings) const
    {
        *bitRate = settings.bitRate;
        *idleCsValues = settings.idleCsValues;
        *activeCsValues = settings.activeCsValues;
        *delay1 = settings.delay1;
        *delay2 = settings.delay2;
        *delay3 = settings.delay3;
        *txferSize = settings.txferSize;
        *spiMode = settings.spiMode;
    }
};

} // namespace

extern "C" {

int32_t Vexa_GetSpiConfig(VexaHandle handle, uint8_t selector, uint32_t* bitRate,
                          uint32_t* idleCsValues, uint32_t* activeCsValues, uint32_t* delay1,
                          uint32_t* delay2, uint32_t* delay3, uint32_t* txferSize, uint8_t* spiMode)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    const SpiSettingsArguments arguments{bitRate, idleCsValues, activeCsValues, delay1,
                                         delay2,  delay3,       txferSize,      spiMode};
    if (arguments.anyNull())
        return VEXA_NULL_ARGUMENT;
    if (!isSelector(selector))
        return VEXA_BAD_ARGUMENT_VALUE;

    SpiTransferSettings settings;
    const auto result = selector == VEXA_CFG_CURRENT ? readCurrentSpiSettings(handle, settings)
                                                     : readPowerUpSpiSettings(handle, settings);
    if (result != VEXA_OK)
        return result;
    arguments.store(settings);
    return VEXA_OK;
}

int32_t Vexa_SetSpiConfig(VexaHandle handle, uint8_t selector, uint32_t* bitRate,
                          uint32_t* idleCsValues, uint32_t* activeCsValues, uint32_t* delay1,
                          uint32_t* delay2, uint32_t* delay3, uint32_t* txferSize, uint8_t* spiMode)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    const SpiSettingsArguments arguments{bitRate, idleCsValues, activeCsValues, delay1,
                                         delay2,  delay3,       txferSize,      spiMode};
    if (arguments.anyNull())
        return VEXA_NULL_ARGUMENT;
    SpiTransferSettings wanted;
    if (!arguments.read(wanted) || !isSelector(selector))
        return VEXA_BAD_ARGUMENT_VALUE;

    if (selector == VEXA_CFG_POWERUP)
        return writePowerUpSpiSettings(handle, wanted);
    SpiTransferSettings applied;
    if (const auto result = writeCurrentSpiSettings(handle, wanted, applied); result != VEXA_OK)
        return result;
    arguments.store(applied);
    return VEXA_OK;
}

} // extern "C"
