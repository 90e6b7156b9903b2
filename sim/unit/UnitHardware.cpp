#include "sim/unit/UnitHardware.h"

#include <bit>
#include <cmath>

#include "sim/unit/LittleEndian.h"
#include "sim/unit/Zt46Unit.h"

namespace sim {

qzr::TSetupData factorySetupImage()
{
    qzr::TSetupData image{};
    for (std::size_t range = 0; range < 6; ++range) {
        const AmplifierHardware& amplifier = UnitAmplifiers[range];
        const std::int32_t fullCounts = Zt46Unit::FullRangeCounts[range];
        writeU16(&image[SetupOffsetAt + 2 * range],
                 static_cast<std::uint16_t>(amplifier.offsetCounts));
        writeU16(&image[SetupMultiplierAt + 2 * range], static_cast<std::uint16_t>(fullCounts));
        writeU16(&image[SetupDividerAt + 2 * range],
                 static_cast<std::uint16_t>(std::lround(fullCounts * amplifier.gain)));
    }
    writeU16(&image[SetupAmplifierAt], 0);
    writeU16(&image[SetupUserMultiplierAt], 1);
    writeU16(&image[SetupUserDividerAt], 1);
    image[SetupDecimalsAt] = 1;
    image[SetupNegativesAt] = 255;
    image[SetupSensorIdAt] = 1;
    writeU32(&image[SetupSensitivityAt], std::bit_cast<std::uint32_t>(1.0f));
    image[SetupFixedSensitivityDecimalsAt] = 255;
    // The unit's own bytes: a format marker the program carries unchanged.
    const std::uint8_t unitBytes[] = {'Z', 'T', '4', '6', 0x01, 0x00};
    for (std::size_t i = 0; i < sizeof unitBytes; ++i)
        image[SetupUnitBytesAt + i] = unitBytes[i];
    return image;
}

} // namespace sim
