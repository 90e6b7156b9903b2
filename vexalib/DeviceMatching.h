#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <string>
#include <string_view>

// Which present devices a caller's VID/PID and serial number select.
namespace vexa {

// "VID_xxxx&PID_xxxx" with the low 16 bits of each, upper-case hexadecimal.
std::string vidPidPattern(std::uint32_t vid, std::uint32_t pid);

// True when the device's hardware ID, taken in upper case, contains the pattern.
bool matchesVidPid(const platform::DeviceRecord& device, const std::string& pattern);

// Serial numbers longer than this are never found.
inline constexpr std::size_t maximumSerialChars = 10;

// The pre-check of an open by serial number: VEXA_OK when a USB device served
// by the HID-over-USB driver has an instance name that begins with
// "USB\VID_xxxx&PID_xxxx\serial" (letter case ignored); VEXA_SERIAL_NOT_PRESENT
// when none does or the serial number is too long; VEXA_FAILED when the
// driver's device list cannot be read.
std::int32_t serialKnownToHidUsb(const platform::Platform& platform, std::uint32_t vid,
                                 std::uint32_t pid, std::u16string_view serial);

} // namespace vexa
