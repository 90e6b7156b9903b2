#include "DeviceMatching.h"

#include "Utf16Text.h"
#include "platform/DeviceNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

namespace vexa {

std::string vidPidPattern(std::uint32_t vid, std::uint32_t pid)
{
    char text[32];
    std::snprintf(text, sizeof text, "VID_%04X&PID_%04X", vid & 0xFFFFu, pid & 0xFFFFu);
    return text;
}

bool matchesVidPid(const platform::DeviceRecord& device, const std::string& pattern)
{
    std::string upper = device.hardwareId;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find(pattern) != std::string::npos;
}

std::int32_t serialKnownToHidUsb(const platform::Platform& platform, std::uint32_t vid,
                                 std::uint32_t pid, std::u16string_view serial)
{
    if (serial.size() > maximumSerialChars)
        return VEXA_SERIAL_NOT_PRESENT;
    std::vector<std::u16string> instances;
    if (platform.listHidUsbInstances(instances) != VEXA_OK)
        return VEXA_FAILED;
    const std::u16string wanted = platform::hidUsbInstance(static_cast<std::uint16_t>(vid),
                                                           static_cast<std::uint16_t>(pid), serial);
    const bool found = std::any_of(instances.begin(), instances.end(), [&](const auto& instance) {
        return startsWithIgnoringCase(instance, wanted);
    });
    return found ? VEXA_OK : VEXA_SERIAL_NOT_PRESENT;
}

} // namespace vexa
