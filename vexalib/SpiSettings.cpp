#include "DeviceHandle.h"
#include "SettingsCommands.h"
#include "vexalib.h"

using namespace vexa;

namespace {

constexpr uint32_t largestWord = 0xFFFF;
constexpr uint8_t largestSpiMode = 3;

bool isSelector(uint8_t selector)
{
    return selector == VEXA_CFG_CURRENT || selector == VEXA_CFG_POWERUP;
}

} // namespace

extern "C" {

int32_t Vexa_GetSpiConfig(VexaHandle handle, uint8_t selector, uint32_t* bitRate,
                          uint32_t* idleCsValues, uint32_t* activeCsValues, uint32_t* delay1,
                          uint32_t* delay2, uint32_t* delay3, uint32_t* txferSize, uint8_t* spiMode)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (!bitRate || !idleCsValues || !activeCsValues || !delay1 || !delay2 || !delay3 ||
        !txferSize || !spiMode)
        return VEXA_NULL_ARGUMENT;
    if (!isSelector(selector))
        return VEXA_BAD_ARGUMENT_VALUE;

    SpiTransferSettings settings;
    const auto result = selector == VEXA_CFG_CURRENT ? readCurrentSpiSettings(handle, settings)
                                                     : readPowerUpSpiSettings(handle, settings);
    if (result != VEXA_OK)
        return result;
    *bitRate = settings.bitRate;
    *idleCsValues = settings.idleCsValues;
    *activeCsValues = settings.activeCsValues;
    *delay1 = settings.delay1;
    *delay2 = settings.delay2;
    *delay3 = settings.delay3;
    *txferSize = settings.txferSize;
    *spiMode = settings.spiMode;
    return VEXA_OK;
}

int32_t Vexa_SetSpiConfig(VexaHandle handle, uint8_t selector, uint32_t* bitRate,
                          uint32_t* idleCsValues, uint32_t* activeCsValues, uint32_t* delay1,
                          uint32_t* delay2, uint32_t* delay3, uint32_t* txferSize, uint8_t* spiMode)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (!bitRate || !idleCsValues || !activeCsValues || !delay1 || !delay2 || !delay3 ||
        !txferSize || !spiMode)
        return VEXA_NULL_ARGUMENT;
    if (*delay1 > largestWord || *delay2 > largestWord || *delay3 > largestWord ||
        *txferSize > largestWord || *spiMode > largestSpiMode || !isSelector(selector))
        return VEXA_BAD_ARGUMENT_VALUE;

    SpiTransferSettings wanted;
    wanted.bitRate = *bitRate;
    wanted.idleCsValues = static_cast<uint16_t>(*idleCsValues);
    wanted.activeCsValues = static_cast<uint16_t>(*activeCsValues);
    wanted.delay1 = static_cast<uint16_t>(*delay1);
    wanted.delay2 = static_cast<uint16_t>(*delay2);
    wanted.delay3 = static_cast<uint16_t>(*delay3);
    wanted.txferSize = static_cast<uint16_t>(*txferSize);
    wanted.spiMode = *spiMode;

    if (selector == VEXA_CFG_POWERUP)
        return writePowerUpSpiSettings(handle, wanted);
    SpiTransferSettings applied;
    if (const auto result = writeCurrentSpiSettings(handle, wanted, applied); result != VEXA_OK)
        return result;
    *bitRate = applied.bitRate;
    *idleCsValues = applied.idleCsValues;
    *activeCsValues = applied.activeCsValues;
    *delay1 = applied.delay1;
    *delay2 = applied.delay2;
    *delay3 = applied.delay3;
    *txferSize = applied.txferSize;
    *spiMode = applied.spiMode;
    return VEXA_OK;
}

} // extern "C"
