#pragma once

#include "platform/Platform.h"

#include <string>
#include <string_view>

// Linux hidraw devices, found through sysfs and opened as /dev/hidrawN with an
// exclusive flock on the node (the program's own HID layer takes shared locks
// on the same nodes, so each side sees the other's opens).
namespace vexa::platform {

class HidrawPlatform final : public Platform {
public:
    // sysfsRoot: where sysfs is mounted ("/sys"); deviceRoot: the directory of
    // the device nodes ("/dev"). Tests point both into a temporary tree.
    HidrawPlatform(std::string sysfsRoot, std::string deviceRoot);

    // Every hidraw node in ascending node number; each node carries its own
    // vendor and product IDs and serial number (from its HID device's uevent).
    std::int32_t listDevices(std::vector<DeviceRecord>& devices) const override;

    // open(O_RDWR) plus flock(LOCK_EX | LOCK_NB); a held lock is "in use".
    std::int32_t openExclusive(const DeviceRecord& device, VexaHandle& handle) const override;

    // The USB devices whose interfaces are bound to the usbhid driver.
    std::int32_t listHidUsbInstances(std::vector<std::u16string>& instances) const override;

private:
    std::string sysfsRoot_;
    std::string deviceRoot_;
};

// True when a HID report descriptor declares report IDs (a Report ID item).
bool descriptorUsesReportIds(std::string_view descriptor);

} // namespace vexa::platform
