#include "sim/uhid/UhidReportDescriptor.h"

#include <stdexcept>

namespace sim {
namespace {

// Short items: the prefix carries the tag, the type and the data size.
constexpr std::uint8_t UsagePageTwoBytes = 0x06;
constexpr std::uint8_t UsageOneByte = 0x09;
constexpr std::uint8_t CollectionOneByte = 0xA1;
constexpr std::uint8_t EndCollection = 0xC0;
constexpr std::uint8_t LogicalMinimumOneByte = 0x15;
constexpr std::uint8_t LogicalMaximumTwoBytes = 0x26;
constexpr std::uint8_t ReportSizeOneByte = 0x75;
constexpr std::uint8_t ReportCountTwoBytes = 0x96;
constexpr std::uint8_t InputOneByte = 0x81;
constexpr std::uint8_t OutputOneByte = 0x91;

constexpr std::uint8_t ApplicationCollection = 0x01;
constexpr std::uint8_t DataVariableAbsolute = 0x02;
constexpr std::uint16_t VendorDefinedPage = 0xFF00;

} // namespace

std::vector<std::uint8_t> uhidReportDescriptor(std::size_t reportSize)
{
    if (reportSize == 0 || reportSize > 0xFFFF) {
        throw std::invalid_argument("a report has 1 to 65535 bytes");
    }
    const auto low = static_cast<std::uint8_t>(reportSize & 0xFF);
    const auto high = static_cast<std::uint8_t>(reportSize >> 8);
    return {
        UsagePageTwoBytes,
        VendorDefinedPage & 0xFF,
        VendorDefinedPage >> 8,
        UsageOneByte,
        0x01,
        CollectionOneByte,
        ApplicationCollection,
        LogicalMinimumOneByte,
        0x00,
        LogicalMaximumTwoBytes,
        0xFF,
        0x00,
        ReportSizeOneByte,
        8,
        ReportCountTwoBytes,
        low,
        high,
        UsageOneByte,
        0x01,
        InputOneByte,
        DataVariableAbsolute,
        ReportCountTwoBytes,
        low,
        high,
        UsageOneByte,
        0x01,
        OutputOneByte,
        DataVariableAbsolute,
        EndCollection,
    };
}

} // namespace sim
