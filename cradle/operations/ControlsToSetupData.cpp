#include "cradle/operations/ControlsToSetupData.h"

#include <string>

#include "cradle/operations/RangeError.h"

namespace qzr {

namespace {

std::string RangeName(const char* row, int range)
{
    return std::string(row) + " " + std::to_string(AmplifierRanges[range].Gain) + "x";
}

std::int16_t Checked(const std::string& field, std::int64_t value, std::int64_t lowest,
                     std::int64_t highest)
{
    if (value < lowest || value > highest)
        throw ERangeError(field, value, lowest, highest);
    return static_cast<std::int16_t>(value);
}

} // namespace

void ControlsToSetupData(const TSetupControls& controls, TSetupData& image)
{
    for (int range = 0; range < AmplifierRangeCount; ++range)
        image.SetS16(SetupOffset::AmpOffset(range),
                     Checked(RangeName("Offset", range), controls.Offset[range], OffsetLowest,
                             OffsetHighest));
    for (int range = 0; range < AmplifierRangeCount; ++range)
        image.SetS16(SetupOffset::AmpMultiplier(range),
                     Checked(RangeName("Multiplier", range), controls.Multiplier[range],
                             FactorLowest, FactorHighest));
    for (int range = 0; range < AmplifierRangeCount; ++range)
        image.SetS16(SetupOffset::AmpDivider(range),
                     Checked(RangeName("Divider", range), controls.Divider[range], FactorLowest,
                             FactorHighest));
    image.SetAmplifierIndex(
        Checked("Input amplifier", controls.AmplifierIndex, 0, AmplifierRangeCount - 1));
    image.SetS16(SetupOffset::UserMultiplier,
                 Checked("User multiplier", controls.UserMultiplier, FactorLowest, FactorHighest));
    image.SetS16(SetupOffset::UserDivider,
                 Checked("User divider", controls.UserDivider, FactorLowest, FactorHighest));
    image[SetupOffset::Decimals] = static_cast<std::uint8_t>(
        Checked("Decimal dot position", controls.DecimalDotIndex, 0, DecimalDotHighest));
    image.SetNegativesAllowed(controls.NegativesAllowed);
}

TSetupControls SetupControlsShowing(const TSetupData& image)
{
    TSetupControls controls;
    for (int range = 0; range < AmplifierRangeCount; ++range) {
        const auto r = static_cast<std::size_t>(range);
        controls.Offset[r] = image.AmpOffset(range);
        controls.Multiplier[r] = image.AmpMultiplier(range);
        controls.Divider[r] = image.AmpDivider(range);
    }
    controls.AmplifierIndex = image.ShownAmplifierIndex();
    controls.UserMultiplier = image.UserMultiplier();
    controls.UserDivider = image.UserDivider();
    controls.DecimalDotIndex = image.Decimals();
    controls.NegativesAllowed = image.NegativesAllowed();
    return controls;
}

} // namespace qzr
