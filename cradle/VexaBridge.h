#pragma once

#include "cradle/BridgeApi.h"

namespace qzr {

// The bridge calls bound to the exports of the bridge library.
class TVexaBridge : public TBridgeApi {
public:
    TBridgeHandle OpenByIndex(std::uint32_t vid, std::uint32_t pid, std::uint32_t index,
                              std::uint16_t* devicePath, std::uint32_t* devicePathSize) override;
    std::int32_t GetLastError() override;
    std::int32_t XferSpiDataEx(TBridgeHandle handle, const std::uint8_t* txData,
                               std::uint8_t* rxData, std::uint32_t* bitRate,
                               std::uint32_t* txferSize, std::uint32_t csMask,
                               std::uint32_t* idleCsValues, std::uint32_t* activeCsValues,
                               std::uint32_t* delay1, std::uint32_t* delay2, std::uint32_t* delay3,
                               std::uint8_t* spiMode) override;
    std::int32_t XferSpiData(TBridgeHandle handle, const std::uint8_t* txData, std::uint8_t* rxData,
                             std::uint32_t* bitRate, std::uint32_t* txferSize,
                             std::uint32_t csMask) override;
    std::int32_t Close(TBridgeHandle handle) override;
};

} // namespace qzr
