#include "hid/platform/hidraw/UdevChangeMonitor.h"

#include <QSocketNotifier>
#include <cstring>
#include <libudev.h>

namespace qzr {

UdevChangeMonitor::UdevChangeMonitor(std::function<void()> OnChange)
    : FUdev(udev_new()), FOnChange(std::move(OnChange))
{
    if (FUdev == nullptr)
        return;
    FMonitor = udev_monitor_new_from_netlink(FUdev, "udev");
    if (FMonitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(FMonitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(FMonitor) < 0)
        return;
    FNotifier = new QSocketNotifier(udev_monitor_get_fd(FMonitor), QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &UdevChangeMonitor::ReceiveDevices);
}

UdevChangeMonitor::~UdevChangeMonitor()
{
    delete FNotifier;
    if (FMonitor != nullptr)
        udev_monitor_unref(FMonitor);
    if (FUdev != nullptr)
        udev_unref(FUdev);
}

void UdevChangeMonitor::ReceiveDevices()
{
    bool changed = false;
    while (udev_device* device = udev_monitor_receive_device(FMonitor)) {
        const char* action = udev_device_get_action(device);
        if (action != nullptr &&
            (std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0))
            changed = true;
        udev_device_unref(device);
    }
    if (changed && FOnChange)
        FOnChange();
}

} // namespace qzr
