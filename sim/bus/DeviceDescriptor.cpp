#include "sim/bus/DeviceDescriptor.h"

#include <cstdio>
#include <stdexcept>

namespace sim {
namespace {

bool isNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

void requireSingleLine(std::string_view key, const std::string& value)
{
    if (value.find_first_of("\r\n") != std::string::npos) {
        throw std::invalid_argument("device string " + std::string(key) +
                                    " must not contain a line break");
    }
}

std::string hex16(std::uint16_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value));
    return text;
}

void appendString(std::string& text, std::string_view key, const std::string& value)
{
    if (!value.empty()) {
        text.append(key).append("=").append(value).append("\n");
    }
}

} // namespace

bool isValidDeviceName(std::string_view name)
{
    if (name.empty()) {
        return false;
    }
    for (char c : name) {
        if (!isNameCharacter(c)) {
            return false;
        }
    }
    return true;
}

void validateDescriptor(const DeviceDescriptor& descriptor)
{
    if (descriptor.reportSize == 0 || descriptor.reportSize > MaxReportSize) {
        throw std::invalid_argument("report size must be 1 to " + std::to_string(MaxReportSize) +
                                    " bytes");
    }
    requireSingleLine("manufacturer", descriptor.manufacturer);
    requireSingleLine("product", descriptor.product);
    requireSingleLine("serial", descriptor.serial);
    for (const auto& [index, value] : descriptor.strings) {
        requireSingleLine("string." + std::to_string(index), value);
    }
}

std::string descriptorText(const DeviceDescriptor& descriptor)
{
    std::string text = "# virtual HID device\n";
    text += "vid=" + hex16(descriptor.vendorId) + "\n";
    text += "pid=" + hex16(descriptor.productId) + "\n";
    text += "version=" + hex16(descriptor.version) + "\n";
    appendString(text, "manufacturer", descriptor.manufacturer);
    appendString(text, "product", descriptor.product);
    appendString(text, "serial", descriptor.serial);
    text += "report_size=" + std::to_string(descriptor.reportSize) + "\n";
    for (const auto& [index, value] : descriptor.strings) {
        appendString(text, "string." + std::to_string(index), value);
    }
    return text;
}

} // namespace sim
