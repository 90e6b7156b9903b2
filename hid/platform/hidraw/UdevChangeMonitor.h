#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace qzr {

// Calls OnChange on the GUI thread whenever udev reports a hidraw device added or removed: the
// system's device-change broadcast. Where udev cannot be reached no change is ever reported.
class UdevChangeMonitor : public QObject {
    Q_OBJECT
public:
    explicit UdevChangeMonitor(std::function<void()> OnChange);
    ~UdevChangeMonitor() override;

private:
    void ReceiveDevices();

    udev* FUdev = nullptr;
    udev_monitor* FMonitor = nullptr;
    QSocketNotifier* FNotifier = nullptr;
    std::function<void()> FOnChange;
};

} // namespace qzr
