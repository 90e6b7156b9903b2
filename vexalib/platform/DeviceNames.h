#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The names under which the platform layer reports devices.
namespace vexa::platform {

// "HID\VID_xxxx&PID_xxxx", upper-case hexadecimal.
std::string hidHardwareId(std::uint16_t vid, std::uint16_t pid);

// "USB\VID_xxxx&PID_xxxx\serial", lower-case hexadecimal: the name of a USB
// device instance served by the HID-over-USB driver.
std::u16string hidUsbInstance(std::uint16_t vid, std::uint16_t pid, std::u16string_view serial);

} // namespace vexa::platform
