#include "platform/DeviceNames.h"

#include <cstdio>

namespace vexa::platform {

std::string hidHardwareId(std::uint16_t vid, std::uint16_t pid)
{
    char text[32];
    std::snprintf(text, sizeof text, "HID\\VID_%04X&PID_%04X", vid, pid);
    return text;
}

std::u16string hidUsbInstance(std::uint16_t vid, std::uint16_t pid, std::u16string_view serial)
{
    char text[32];
    const int length = std::snprintf(text, sizeof text, "USB\\VID_%04x&PID_%04x\\", vid, pid);
    std::u16string instance(text, text + length);
    instance += serial;
    return instance;
}

} // namespace vexa::platform
