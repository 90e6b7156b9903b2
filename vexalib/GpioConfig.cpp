#include "DeviceHandle.h"
#include "SettingsCommands.h"
#include "vexalib.h"

#include <algorithm>

using namespace vexa;

namespace {

// The three fields of the settings byte.
constexpr uint8_t bit4Shift = 4;
constexpr uint8_t bits1to3Shift = 1;
constexpr uint8_t largestBits1to3 = 4;

} // namespace

extern "C" {

int32_t Vexa_GetGpioConfig(VexaHandle handle, uint8_t selector, uint8_t* pinDesignations,
                           uint32_t* defaultOutputs, uint32_t* defaultDirections,
                           uint8_t* settingsBit4, uint8_t* settingsBits1to3, uint8_t* settingsBit0)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (!pinDesignations || !defaultOutputs || !defaultDirections || !settingsBit4 ||
        !settingsBits1to3 || !settingsBit0)
        return VEXA_NULL_ARGUMENT;
    if (!isSelector(selector))
        return VEXA_BAD_ARGUMENT_VALUE;

    ChipSettings settings;
    uint8_t accessControl = 0;
    const auto result = selector == VEXA_CFG_CURRENT
                            ? readCurrentChipSettings(handle, settings)
                            : readPowerUpChipSettings(handle, settings, accessControl);
    if (result != VEXA_OK)
        return result;
    std::copy(settings.pinDesignations.begin(), settings.pinDesignations.end(), pinDesignations);
    *defaultOutputs = settings.defaultOutputs;
    *defaultDirections = settings.defaultDirections;
    *settingsBit4 = (settings.settingsByte >> bit4Shift) & 1;
    *settingsBits1to3 = (settings.settingsByte >> bits1to3Shift) & 7;
    *settingsBit0 = settings.settingsByte & 1;
    return VEXA_OK;
}

int32_t Vexa_SetGpioConfig(VexaHandle handle, uint8_t selector, const uint8_t* pinDesignations,
                           uint32_t defaultOutputs, uint32_t defaultDirections,
                           uint8_t settingsBit4, uint8_t settingsBits1to3, uint8_t settingsBit0)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (pinDesignations == nullptr)
        return VEXA_NULL_ARGUMENT;
    const bool designationsValid =
        std::all_of(pinDesignations, pinDesignations + pinCount,
                    [](uint8_t designation) { return designation <= VEXA_PIN_DEDICATED; });
    if (!designationsValid || settingsBit4 > 1 || settingsBits1to3 > largestBits1to3 ||
        settingsBit0 > 1 || !isSelector(selector))
        return VEXA_BAD_ARGUMENT_VALUE;

    ChipSettings settings;
    std::copy(pinDesignations, pinDesignations + pinCount, settings.pinDesignations.begin());
    settings.defaultOutputs = static_cast<uint16_t>(defaultOutputs);
    settings.defaultDirections = static_cast<uint16_t>(defaultDirections);
    settings.settingsByte = static_cast<uint8_t>(
        (settingsBit4 << bit4Shift) | (settingsBits1to3 << bits1to3Shift) | settingsBit0);
    if (selector == VEXA_CFG_CURRENT)
        return writeCurrentChipSettings(handle, settings);

    // The power-up record carries the access-control state too: keep the
    // chip's, and set no new password.
    ChipSettings stored;
    uint8_t accessControl = 0;
    if (const auto result = readPowerUpChipSettings(handle, stored, accessControl);
        result != VEXA_OK)
        return result;
    return writePowerUpChipSettings(handle, settings, accessControl, nullptr);
}

} // extern "C"
