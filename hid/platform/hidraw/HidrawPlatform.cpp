#include "hid/platform/hidraw/HidrawPlatform.h"

#include "hid/platform/FileDescriptor.h"
#include "hid/platform/HidWakeSignal.h"
#include "hid/platform/hidraw/HidrawReportDescriptor.h"
#include "hid/platform/hidraw/UdevChangeMonitor.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/file.h>
#include <sys/ioctl.h>

namespace qzr {

namespace {

// Longer reports are cut to this size; the layer uses the report ID and 8 data bytes.
constexpr std::size_t LargestReport = 1 + 4096;

bool UsesReportIds(int Descriptor)
{
    int size = 0;
    if (::ioctl(Descriptor, HIDIOCGRDESCSIZE, &size) < 0 || size <= 0)
        return false;
    hidraw_report_descriptor descriptor{};
    descriptor.size = std::uint32_t(std::min(size, HID_MAX_DESCRIPTOR_SIZE));
    if (::ioctl(Descriptor, HIDIOCGRDESC, &descriptor) < 0)
        return false;
    return ReportDescriptorUsesReportIds({descriptor.value, descriptor.size});
}

class HidrawDeviceHandle : public HidDeviceHandle {
public:
    HidrawDeviceHandle(FileDescriptor Node, QString DevicePath, HidrawSysfs Sysfs)
        : FNode(std::move(Node)), FDevicePath(std::move(DevicePath)), FSysfs(std::move(Sysfs)),
          FUsesReportIds(UsesReportIds(FNode.Get()))
    {}

    HidAttributes Attributes() override
    {
        const auto record = FSysfs.DeviceAt(FDevicePath);
        return record ? record->Attributes : HidAttributes{};
    }

    QString String(HidString Which) override
    {
        const auto record = FSysfs.DeviceAt(FDevicePath);
        if (!record)
            return {};
        switch (Which) {
        case HidString::Manufacturer:
            return record->Manufacturer;
        case HidString::Product:
            return record->Product;
        case HidString::SerialNumber:
            return record->SerialNumber;
        }
        return {};
    }

    // hidraw offers no way to read arbitrary string descriptors.
    QString IndexedString(std::uint32_t) override { return {}; }

    // hidraw takes byte 0 as the report ID in every case and leaves out a report ID of 0 itself
    // for devices without numbered reports.
    std::optional<std::size_t> Write(const THidReport& Report) override
    {
        ssize_t written = 0;
        do {
            written = ::write(FNode.Get(), Report.data(), Report.size());
        } while (written < 0 && errno == EINTR);
        if (written < 0)
            return std::nullopt;
        return std::size_t(written);
    }

    bool WaitForInput(const HidWakeSignal& Wake) override
    {
        return Wake.WaitForInput(FNode.Get()) != HidWakeSignal::Wait::Woken;
    }

    // Reads of a device without numbered reports return the data bytes alone: the report ID 0
    // is put in front so that callers always see the report ID first.
    HidReadOutcome Read(THidReport& Report) override
    {
        const auto received = ::read(FNode.Get(), FBuffer.data(), FBuffer.size());
        if (received < 0 && (errno == EINTR || errno == EAGAIN))
            return HidReadOutcome::NotReady;
        if (received <= 0)
            return HidReadOutcome::Failed;
        Report.fill(0);
        const auto target = FUsesReportIds ? Report.begin() : Report.begin() + 1;
        const auto room = std::size_t(Report.end() - target);
        std::copy_n(FBuffer.begin(), std::min(std::size_t(received), room), target);
        return HidReadOutcome::Report;
    }

private:
    FileDescriptor FNode;
    QString FDevicePath;
    HidrawSysfs FSysfs;
    bool FUsesReportIds;
    std::array<std::uint8_t, LargestReport> FBuffer{};
};

} // namespace

HidrawPlatform::HidrawPlatform(HidrawSysfs Sysfs) : FSysfs(std::move(Sysfs)) {}

QStringList HidrawPlatform::EnumerateDevicePaths()
{
    QStringList paths;
    for (const auto& device : FSysfs.Devices())
        paths.push_back(device.DevicePath);
    return paths;
}

std::unique_ptr<HidDeviceHandle> HidrawPlatform::OpenShared(const QString& DevicePath)
{
    FileDescriptor node(::open(QFile::encodeName(DevicePath).constData(), O_RDWR | O_CLOEXEC));
    if (!node.Valid())
        return nullptr;
    if (::flock(node.Get(), LOCK_SH | LOCK_NB) != 0)
        return nullptr;
    return std::make_unique<HidrawDeviceHandle>(std::move(node), DevicePath, FSysfs);
}

std::unique_ptr<QObject> HidrawPlatform::WatchDeviceChanges(std::function<void()> OnChange)
{
    return std::make_unique<UdevChangeMonitor>(std::move(OnChange));
}

} // namespace qzr
