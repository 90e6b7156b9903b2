#pragma once

#include "DeviceHandle.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the library needs from the operating system to find and open devices.
// One implementation per platform; report I/O and close work on the handle
// alone (DeviceIo.h).
namespace vexa::platform {

struct DeviceRecord {
    // Identification text that carries "VID_xxxx&PID_xxxx" (upper-case hex).
    std::string hardwareId;
    // The device path shown to callers and opened.
    std::string path;
    // The USB serial-number string; empty optional when the device has none.
    std::optional<std::u16string> serialNumber;
    // How reports move on the open device.
    DescriptorKind kind = DescriptorKind::busConnection;
};

class Platform {
public:
    virtual ~Platform() = default;

    // The present HID devices in a stable order. VEXA_OK or VEXA_FAILED.
    virtual std::int32_t listDevices(std::vector<DeviceRecord>& devices) const = 0;

    // Opens the device exclusively. VEXA_OK (handle set), VEXA_DEVICE_IN_USE
    // when another opener holds it, VEXA_OPEN_REFUSED for any other failure.
    virtual std::int32_t openExclusive(const DeviceRecord& device, VexaHandle& handle) const = 0;

    // The USB devices that the HID-over-USB driver serves, each named
    // "USB\VID_xxxx&PID_xxxx\serial". VEXA_OK or VEXA_FAILED.
    virtual std::int32_t listHidUsbInstances(std::vector<std::u16string>& instances) const = 0;
};

} // namespace vexa::platform
