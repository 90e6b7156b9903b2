#pragma once

#include "cradle/BridgeApi.h"

#include <QString>

namespace qzr::cli {

// The bridge library's calls with the open aimed at one bridge cradle, the one
// whose device path is chosen: the library's index 0 is the first bridge it
// finds, so the open walks the library's matching devices until the path
// matches. Its result, for GetLastError, is that bridge's own (-106 when it is
// held elsewhere), or no matching device (-103) when the path is not among them.
class TChosenBridge : public TBridgeApi {
public:
    explicit TChosenBridge(TBridgeApi& library) : FLibrary(library) {}

    void Choose(QString devicePath) { FDevicePath = std::move(devicePath); }

    TBridgeHandle OpenByIndex(std::uint32_t vid, std::uint32_t pid, std::uint32_t index,
                              std::uint16_t* devicePath, std::uint32_t* devicePathSize) override;
    std::int32_t GetLastError() override { return FLastError; }
    std::int32_t XferSpiDataEx(TBridgeHandle handle, const std::uint8_t* txData,
                               std::uint8_t* rxData, std::uint32_t* bitRate,
                               std::uint32_t* txferSize, std::uint32_t csMask,
                               std::uint32_t* idleCsValues, std::uint32_t* activeCsValues,
                               std::uint32_t* delay1, std::uint32_t* delay2, std::uint32_t* delay3,
                               std::uint8_t* spiMode) override
    {
        return FLibrary.XferSpiDataEx(handle, txData, rxData, bitRate, txferSize, csMask,
                                      idleCsValues, activeCsValues, delay1, delay2, delay3,
                                      spiMode);
    }
    std::int32_t XferSpiData(TBridgeHandle handle, const std::uint8_t* txData, std::uint8_t* rxData,
                             std::uint32_t* bitRate, std::uint32_t* txferSize,
                             std::uint32_t csMask) override
    {
        return FLibrary.XferSpiData(handle, txData, rxData, bitRate, txferSize, csMask);
    }
    std::int32_t Close(TBridgeHandle handle) override { return FLibrary.Close(handle); }

private:
    TBridgeApi& FLibrary;
    QString FDevicePath;
    std::int32_t FLastError = 0;
};

} // namespace qzr::cli
