#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace sim {

// What a device on the virtual HID bus says about itself in NAME.dev.
// An empty string means the device has no such string (the key is left out).
struct DeviceDescriptor {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
    std::string manufacturer;
    std::string product;
    std::string serial;
    std::size_t reportSize = 8;              // data bytes per report, report ID not counted
    std::map<unsigned, std::string> strings; // indexed strings, string.N
};

inline constexpr std::size_t MaxReportSize = 1024;

// A device name: one or more letters, digits, '_' or '-'.
bool isValidDeviceName(std::string_view name);

// Throws std::invalid_argument when the descriptor cannot be written as a
// NAME.dev file (a report size outside 1..MaxReportSize, a line break in a
// string).
void validateDescriptor(const DeviceDescriptor& descriptor);

// The NAME.dev text of the descriptor: one key=value per line.
std::string descriptorText(const DeviceDescriptor& descriptor);

} // namespace sim
