#include "cradle/VexaBridge.h"

#include <vexalib.h>

namespace qzr {

namespace {

VexaHandle ToVexa(TBridgeHandle handle)
{
    return static_cast<VexaHandle>(handle);
}

} // namespace

TBridgeHandle TVexaBridge::OpenByIndex(std::uint32_t vid, std::uint32_t pid, std::uint32_t index,
                                       std::uint16_t* devicePath, std::uint32_t* devicePathSize)
{
    return Vexa_OpenByIndex(vid, pid, index, devicePath, devicePathSize);
}

std::int32_t TVexaBridge::GetLastError()
{
    return Vexa_GetLastError();
}

std::int32_t TVexaBridge::XferSpiDataEx(TBridgeHandle handle, const std::uint8_t* txData,
                                        std::uint8_t* rxData, std::uint32_t* bitRate,
                                        std::uint32_t* txferSize, std::uint32_t csMask,
                                        std::uint32_t* idleCsValues, std::uint32_t* activeCsValues,
                                        std::uint32_t* delay1, std::uint32_t* delay2,
                                        std::uint32_t* delay3, std::uint8_t* spiMode)
{
    return Vexa_xferSpiDataEx(ToVexa(handle), txData, rxData, bitRate, txferSize, csMask,
                              idleCsValues, activeCsValues, delay1, delay2, delay3, spiMode);
}

std::int32_t TVexaBridge::XferSpiData(TBridgeHandle handle, const std::uint8_t* txData,
                                      std::uint8_t* rxData, std::uint32_t* bitRate,
                                      std::uint32_t* txferSize, std::uint32_t csMask)
{
    return Vexa_xferSpiData(ToVexa(handle), txData, rxData, bitRate, txferSize, csMask);
}

std::int32_t TVexaBridge::Close(TBridgeHandle handle)
{
    return Vexa_Close(ToVexa(handle));
}

} // namespace qzr
