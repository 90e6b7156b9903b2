#pragma once

#include "cradle/BridgeApi.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace qzr::test {

// A bridge library stand-in: records transfers and answers them with
// scripted bytes.
class TFakeBridge : public TBridgeApi {
public:
    struct TTransfer {
        std::vector<std::uint8_t> sent;
        std::uint32_t bitRate;
        std::uint32_t csMask;
    };

    TBridgeHandle OpenByIndex(std::uint32_t vid, std::uint32_t pid, std::uint32_t index,
                              std::uint16_t* devicePath, std::uint32_t* devicePathSize) override
    {
        openVid = vid;
        openPid = pid;
        openIndex = index;
        openWithoutPath =
            devicePath == nullptr && devicePathSize != nullptr && *devicePathSize == 0;
        ++opens;
        if (index < indexesInUse)
            lastOpenResult = -106;
        else if (index >= bridgeCount)
            lastOpenResult = -101;
        else
            lastOpenResult = openResult;
        return lastOpenResult == 0 ? handle : reinterpret_cast<TBridgeHandle>(-1);
    }
    std::int32_t GetLastError() override { return lastOpenResult; }
    std::int32_t XferSpiDataEx(TBridgeHandle h, const std::uint8_t* txData, std::uint8_t*,
                               std::uint32_t* bitRate, std::uint32_t* txferSize,
                               std::uint32_t csMask, std::uint32_t* idle, std::uint32_t* active,
                               std::uint32_t* delay1, std::uint32_t* delay2, std::uint32_t* delay3,
                               std::uint8_t* spiMode) override
    {
        setupHandle = h;
        setup = {txData[0], *bitRate, *txferSize, csMask,  *idle,
                 *active,   *delay1,  *delay2,    *delay3, *spiMode};
        return setupResult;
    }
    std::int32_t XferSpiData(TBridgeHandle, const std::uint8_t* txData, std::uint8_t* rxData,
                             std::uint32_t* bitRate, std::uint32_t* txferSize,
                             std::uint32_t csMask) override
    {
        transfers.push_back(
            {std::vector<std::uint8_t>(txData, txData + *txferSize), *bitRate, csMask});
        if (duringTransfer)
            duringTransfer();
        if (transferResult != 0)
            return transferResult;
        for (std::uint32_t i = 0; i < *txferSize; ++i)
            rxData[i] = i < reply.size() ? reply[i] : replyFill;
        if (reportedSize >= 0)
            *txferSize = static_cast<std::uint32_t>(reportedSize);
        return 0;
    }
    std::int32_t Close(TBridgeHandle h) override
    {
        closed.push_back(h);
        return 0;
    }

    TBridgeHandle handle = reinterpret_cast<TBridgeHandle>(0x1234);
    std::int32_t openResult = 0;
    // Indexes below this one are held by others; indexes from bridgeCount on
    // name no bridge.
    std::uint32_t indexesInUse = 0;
    std::uint32_t bridgeCount = 1000;
    std::int32_t lastOpenResult = 0;
    int opens = 0;
    std::int32_t setupResult = 0;
    std::int32_t transferResult = 0;
    std::vector<std::uint8_t> reply;
    std::uint8_t replyFill = 0xA5;
    std::function<void()> duringTransfer;
    // The transfer size a transfer writes back; -1 keeps the size asked for.
    std::int64_t reportedSize = -1;

    std::uint32_t openVid = 0, openPid = 0, openIndex = 99;
    bool openWithoutPath = false;
    TBridgeHandle setupHandle = nullptr;
    std::vector<std::uint32_t> setup;
    std::vector<TTransfer> transfers;
    std::vector<TBridgeHandle> closed;
};

} // namespace qzr::test
