#pragma once

#include <cstdint>

namespace qzr {

// Opaque handle of an opened bridge chip; null when none is open.
using TBridgeHandle = void*;

// The five calls of the bridge library that the SPI link makes. The program
// binds them to the library's exports; tests put a scripted bridge in their
// place.
class TBridgeApi {
public:
    virtual ~TBridgeApi() = default;

    virtual TBridgeHandle OpenByIndex(std::uint32_t vid, std::uint32_t pid, std::uint32_t index,
                                      std::uint16_t* devicePath, std::uint32_t* devicePathSize) = 0;
    virtual std::int32_t GetLastError() = 0;
    virtual std::int32_t XferSpiDataEx(TBridgeHandle handle, const std::uint8_t* txData,
                                       std::uint8_t* rxData, std::uint32_t* bitRate,
                                       std::uint32_t* txferSize, std::uint32_t csMask,
                                       std::uint32_t* idleCsValues, std::uint32_t* activeCsValues,
                                       std::uint32_t* delay1, std::uint32_t* delay2,
                                       std::uint32_t* delay3, std::uint8_t* spiMode) = 0;
    virtual std::int32_t XferSpiData(TBridgeHandle handle, const std::uint8_t* txData,
                                     std::uint8_t* rxData, std::uint32_t* bitRate,
                                     std::uint32_t* txferSize, std::uint32_t csMask) = 0;
    virtual std::int32_t Close(TBridgeHandle handle) = 0;
};

} // namespace qzr
