#include "SpiTransfer.h"

#include "DeviceHandle.h"
#include "SettingsCommands.h"

#include <algorithm>

using namespace vexa;

namespace {

constexpr uint32_t chipSelectPins = 0x1FF;
constexpr uint32_t keepSettingsBit = 1u << 31;
constexpr uint32_t pin8Bit = 1u << 8;
// Wanted values that keep the chip's own.
constexpr uint32_t keepBitRate = 0;
constexpr uint32_t keepTransactionSize = 0x10000;

// Designates exactly the pins of `pins` as chip select; other chip-select pins
// become general-purpose I/O.
void designateChipSelects(ChipSettings& settings, uint32_t pins)
{
    for (std::size_t pin = 0; pin < pinCount; ++pin) {
        auto& designation = settings.pinDesignations[pin];
        if (pins & (1u << pin))
            designation = VEXA_PIN_CHIP_SELECT;
        else if (designation == VEXA_PIN_CHIP_SELECT)
            designation = VEXA_PIN_GPIO;
    }
}

} // namespace

namespace vexa {

int32_t transferSpiData(VexaHandle handle, const uint8_t* txData, uint8_t* rxData,
                        uint32_t* bitRate, uint32_t* txferSize, uint32_t csMask,
                        uint32_t bufferSize, const BusyPause& pause)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (txferSize == nullptr || bitRate == nullptr || txData == nullptr || rxData == nullptr)
        return VEXA_NULL_ARGUMENT;

    SpiTransferSettings settings;
    if (const auto result = readCurrentSpiSettings(handle, settings); result != VEXA_OK)
        return result;
    const bool newSize = *txferSize != settings.txferSize && *txferSize <= largestTransactionSize;
    const bool newRate = *bitRate != settings.bitRate && *bitRate != keepBitRate;
    if (newSize || newRate) {
        if (newSize)
            settings.txferSize = static_cast<uint16_t>(*txferSize);
        if (newRate)
            settings.bitRate = *bitRate;
        if (const auto result = writeCurrentSpiSettings(handle, settings, settings);
            result != VEXA_OK)
            return result;
    }
    // The chip runs its transactions with the size of its settings; one
    // larger than the caller's buffers would read and write beyond them.
    if (settings.txferSize > bufferSize)
        return VEXA_FAILED;

    const uint32_t pins = csMask & chipSelectPins;
    bool rewrite = (csMask & (keepSettingsBit | pin8Bit)) == 0;
    ChipSettings chip;
    if (pins != 0 || rewrite) {
        if (const auto result = readCurrentChipSettings(handle, chip); result != VEXA_OK)
            return result;
        // A pin 8 that serves its dedicated function or is an input is left
        // alone.
        if (chip.pinDesignations[8] == VEXA_PIN_DEDICATED || (chip.defaultDirections & pin8Bit))
            rewrite = false;
    }
    if (pins != 0) {
        designateChipSelects(chip, pins);
        if (const auto result = writeCurrentChipSettings(handle, chip); result != VEXA_OK)
            return result;
    }
    if (settings.txferSize != 0) {
        const auto result =
            runSpiTransfer(handle, txData, rxData, settings.bitRate, settings.txferSize, pause);
        if (result != VEXA_OK)
            return result;
    }
    if (rewrite) {
        if (const auto result = writeCurrentChipSettings(handle, chip); result != VEXA_OK)
            return result;
    }
    *bitRate = settings.bitRate;
    *txferSize = settings.txferSize;
    return VEXA_OK;
}

} // namespace vexa

extern "C" {

int32_t Vexa_xferSpiData(VexaHandle handle, const uint8_t* txData, uint8_t* rxData,
                         uint32_t* bitRate, uint32_t* txferSize, uint32_t csMask)
{
    // A wanted size keeps to the caller's buffers; with the chip's own size
    // the caller has promised buffers of that size.
    const uint32_t bufferSize = txferSize != nullptr && *txferSize <= largestTransactionSize
                                    ? *txferSize
                                    : largestTransactionSize;
    return transferSpiData(handle, txData, rxData, bitRate, txferSize, csMask, bufferSize,
                           sleepFor);
}

int32_t Vexa_xferSpiDataEx(VexaHandle handle, const uint8_t* txData, uint8_t* rxData,
                           uint32_t* bitRate, uint32_t* txferSize, uint32_t csMask,
                           uint32_t* idleCsValues, uint32_t* activeCsValues, uint32_t* delay1,
                           uint32_t* delay2, uint32_t* delay3, uint8_t* spiMode)
{
    if (txData == nullptr || rxData == nullptr)
        return VEXA_NULL_ARGUMENT;
    const uint32_t wantedSize = txferSize != nullptr ? *txferSize : 0;
    const auto configured =
        Vexa_SetSpiConfig(handle, VEXA_CFG_CURRENT, bitRate, idleCsValues, activeCsValues, delay1,
                          delay2, delay3, txferSize, spiMode);
    if (configured != VEXA_OK)
        return configured;
    uint32_t rateInUse = keepBitRate;
    uint32_t sizeInUse = keepTransactionSize;
    // The buffers hold the wanted size; the chip may have applied less, and a
    // chip that applied more or reports more now is refused.
    return transferSpiData(handle, txData, rxData, &rateInUse, &sizeInUse, csMask,
                           std::min(wantedSize, *txferSize), sleepFor);
}

} // extern "C"
