#include "sim/unit/UnitHardware.h"

#include <cmath>

#include "sim/unit/Zt46Unit.h"

namespace sim {

namespace SetupOffset = qzr::SetupOffset;

qzr::TSetupData factorySetupImage()
{
    qzr::TSetupData image{};
    for (int range = 0; range < 6; ++range) {
        const AmplifierHardware& amplifier = UnitAmplifiers[range];
        const std::int32_t fullCounts = Zt46Unit::FullRangeCounts[range];
        image.SetS16(SetupOffset::AmpOffset(range),
                     static_cast<std::int16_t>(amplifier.offsetCounts));
        image.SetS16(SetupOffset::AmpMultiplier(range), static_cast<std::int16_t>(fullCounts));
        image.SetS16(SetupOffset::AmpDivider(range),
                     static_cast<std::int16_t>(std::lround(fullCounts * amplifier.gain)));
    }
    image.SetAmplifierIndex(0);
    image.SetS16(SetupOffset::UserMultiplier, 1);
    image.SetS16(SetupOffset::UserDivider, 1);
    image[SetupOffset::Decimals] = 1;
    image.SetNegativesAllowed(true);
    image[SetupOffset::SensorId] = 1;
    image.SetSensitivity(1.0f);
    image[SetupOffset::SensitivityDecimals] = 255;
    // The unit's own bytes: a format marker the program carries unchanged.
    const std::uint8_t unitBytes[] = {'Z', 'T', '4', '6', 0x01, 0x00};
    for (std::size_t i = 0; i < sizeof unitBytes; ++i)
        image[SetupOffset::Carried + i] = unitBytes[i];
    return image;
}

} // namespace sim
