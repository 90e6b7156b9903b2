#include "SetupImageReport.h"

#include <algorithm>
#include <iomanip>
#include <ostream>

namespace qzr::demo {

namespace {

void printHexDump(std::ostream& out, const TSetupData& image)
{
    for (std::size_t row = 0; row < image.size(); row += 16) {
        out << "  " << std::setw(2) << std::setfill('0') << std::hex << std::uppercase << row
            << ':';
        for (std::size_t i = row; i < row + 16; ++i)
            out << ' ' << std::setw(2) << static_cast<unsigned>(image[i]);
        out << std::dec << std::setfill(' ') << '\n';
    }
}

} // namespace

void printSetupImage(std::ostream& out, const TSetupData& image)
{
    static const char* const gains[] = {"1x", "2x", "4x", "8x", "16x", "32x"};
    static const char* const ranges[] = {"1x   (range 200mV)",  "2x   (range 100mV)",
                                         "4x   (range 50mV)",   "8x   (range 25mV)",
                                         "16x  (range 12.5mV)", "32x  (range 6.25mV)"};
    static const char* const decimalDots[] = {"8888", "888.8", "88.88", "8.888"};

    out << std::defaultfloat << "Setup image (64 bytes):\n";
    printHexDump(out, image);

    out << "Calibration:\n  range      offset  multiplier  divider\n";
    for (int range = 0; range < 6; ++range)
        out << "  " << std::left << std::setw(6) << gains[range] << std::right << std::setw(11)
            << image.AmpOffset(range) << std::setw(12) << image.AmpMultiplier(range) << std::setw(9)
            << image.AmpDivider(range) << '\n';

    const std::uint16_t amplifier = image.U16(SetupOffset::AmplifierSelection);
    const int rangeIndex = std::min(image.AmplifierIndex(), 5);
    out << "Input amplifier:        " << ranges[rangeIndex] << " (word " << amplifier << ")\n";
    out << "User multiplier/divider: " << image.UserMultiplier() << " / " << image.UserDivider()
        << '\n';
    const std::uint8_t decimals = image.Decimals();
    out << "Decimal dot position:   " << (decimals < 4 ? decimalDots[decimals] : "(out of range)")
        << " (" << static_cast<unsigned>(decimals) << " decimals)\n";
    out << "Negative values:        " << (image.NegativesAllowed() ? "allowed" : "not allowed")
        << '\n';
    out << "Sensor ID:              " << static_cast<unsigned>(image.SensorId()) << '\n';
    out << "Sensitivity:            " << image.Sensitivity() << '\n';
    if (image.SensitivityDecimals() == 255)
        out << "Fixed-point sensitivity: none\n";
    else
        out << "Fixed-point sensitivity: " << image.SensitivityFixed() << " with "
            << static_cast<unsigned>(image.SensitivityDecimals()) << " decimals\n";
}

} // namespace qzr::demo
