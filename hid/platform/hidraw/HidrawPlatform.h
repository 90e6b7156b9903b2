#pragma once

#include "hid/platform/HidPlatform.h"
#include "hid/platform/hidraw/HidrawSysfs.h"

namespace qzr {

// The system's hidraw devices. A shared open takes a shared lock on the device node, so that a
// device another process holds exclusively (an exclusive lock) cannot be opened or queried.
class HidrawPlatform : public HidPlatform {
public:
    explicit HidrawPlatform(HidrawSysfs Sysfs = HidrawSysfs());

    QStringList EnumerateDevicePaths() override;
    std::unique_ptr<HidDeviceHandle> OpenShared(const QString& DevicePath) override;
    std::unique_ptr<QObject> WatchDeviceChanges(std::function<void()> OnChange) override;

private:
    HidrawSysfs FSysfs;
};

} // namespace qzr
