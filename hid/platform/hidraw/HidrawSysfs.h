#pragma once

#include "hid/platform/HidPlatform.h"

#include <QString>
#include <optional>
#include <vector>

namespace qzr {

// What the system's device tree tells about one hidraw device.
struct HidrawDeviceRecord {
    QString DevicePath;
    HidAttributes Attributes;
    QString Manufacturer;
    QString Product;
    QString SerialNumber;
};

// Reads the hidraw devices from sysfs: class/hidraw/hidrawN, its HID parent (HID_ID gives the
// vendor and product identifiers, HID_UNIQ the serial number) and, for USB devices, the USB
// device above it (version number and strings). The roots are parameters so that a test can
// point them at a tree of its own.
class HidrawSysfs {
public:
    explicit HidrawSysfs(QString SysfsRoot = QStringLiteral("/sys"),
                         QString DeviceRoot = QStringLiteral("/dev"));

    // Every hidraw device, in the order of their numbers (hidraw0, hidraw1, ..., hidraw10).
    std::vector<HidrawDeviceRecord> Devices() const;
    std::optional<HidrawDeviceRecord> DeviceAt(const QString& DevicePath) const;

private:
    HidrawDeviceRecord ReadDevice(const QString& ClassEntry) const;

    QString FSysfsRoot;
    QString FDeviceRoot;
};

} // namespace qzr
