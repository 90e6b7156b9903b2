#pragma once

#include "hid/platform/HidPlatform.h"

#include <QString>

namespace qzr {

// The HID devices of a virtual HID bus directory: a device NAME is the pair NAME.dev (its
// descriptor) and NAME.sock (a listening SOCK_SEQPACKET socket); its path is the full path of
// NAME.sock. Devices are enumerated in ascending byte order of NAME.
class VirtualBusPlatform : public HidPlatform {
public:
    explicit VirtualBusPlatform(const QString& BusDirectory);

    QStringList EnumerateDevicePaths() override;
    std::unique_ptr<HidDeviceHandle> OpenShared(const QString& DevicePath) override;
    std::unique_ptr<QObject> WatchDeviceChanges(std::function<void()> OnChange) override;

private:
    QString FBusDirectory;
};

} // namespace qzr
