#include "SetupImageReport.h"

#include <bit>
#include <iomanip>
#include <ostream>

namespace qzr::demo {

namespace {

std::int16_t signedWord(const TSetupData& image, std::size_t at)
{
    return static_cast<std::int16_t>(image[at] | image[at + 1] << 8);
}

std::uint16_t unsignedWord(const TSetupData& image, std::size_t at)
{
    return static_cast<std::uint16_t>(image[at] | image[at + 1] << 8);
}

float single(const TSetupData& image, std::size_t at)
{
    const std::uint32_t bits = static_cast<std::uint32_t>(image[at]) |
                               static_cast<std::uint32_t>(image[at + 1]) << 8 |
                               static_cast<std::uint32_t>(image[at + 2]) << 16 |
                               static_cast<std::uint32_t>(image[at + 3]) << 24;
    return std::bit_cast<float>(bits);
}

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
    for (std::size_t range = 0; range < 6; ++range)
        out << "  " << std::left << std::setw(6) << gains[range] << std::right << std::setw(11)
            << signedWord(image, 2 * range) << std::setw(12) << signedWord(image, 12 + 2 * range)
            << std::setw(9) << signedWord(image, 24 + 2 * range) << '\n';

    const std::uint16_t amplifier = unsignedWord(image, 36);
    const std::size_t rangeIndex = std::min<std::size_t>(amplifier / 2, 5);
    out << "Input amplifier:        " << ranges[rangeIndex] << " (word " << amplifier << ")\n";
    out << "User multiplier/divider: " << signedWord(image, 38) << " / " << signedWord(image, 40)
        << '\n';
    out << "Decimal dot position:   " << (image[42] < 4 ? decimalDots[image[42]] : "(out of range)")
        << " (" << static_cast<unsigned>(image[42]) << " decimals)\n";
    out << "Negative values:        " << (image[43] != 0 ? "allowed" : "not allowed") << '\n';
    out << "Sensor ID:              " << static_cast<unsigned>(image[44]) << '\n';
    out << "Sensitivity:            " << single(image, 45) << '\n';
    if (image[49] == 255)
        out << "Fixed-point sensitivity: none\n";
    else
        out << "Fixed-point sensitivity: " << signedWord(image, 50) << " with "
            << static_cast<unsigned>(image[49]) << " decimals\n";
}

} // namespace qzr::demo
