#include "sim/bridge/SettingsRules.h"

#include <algorithm>

namespace sim {

SpiTransferSettings appliedSpiSettings(SpiTransferSettings settings, std::uint32_t minBitRate,
                                       std::uint32_t maxBitRate)
{
    settings.bitRate = std::clamp(settings.bitRate, minBitRate, maxBitRate);
    settings.spiMode &= 0x03;
    return settings;
}

bool acceptableChipSettings(const ChipSettings& settings)
{
    constexpr unsigned MaxInterruptMode = 4;
    const bool designationsKnown =
        std::all_of(settings.pinDesignations.begin(), settings.pinDesignations.end(),
                    [](std::uint8_t designation) { return designation <= vexa::pin::Dedicated; });
    return designationsKnown && ((settings.settingsByte >> 1) & 0x07) <= MaxInterruptMode;
}

} // namespace sim
