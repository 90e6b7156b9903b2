#include "hid/HidDevices.h"

#include "hid/EUSBException.h"
#include "hid/HidDevice.h"
#include "hid/platform/HidPlatform.h"

#include <stdexcept>

namespace qzr {

namespace {

constexpr int RefreshesPerDeviceChange = 10;

} // namespace

THidDevices::THidDevices(QObject* AOwner, std::shared_ptr<HidPlatform> Platform)
    : QObject(AOwner), FPlatform(Platform ? std::move(Platform) : CreateHidPlatform())
{
    FDeviceChangeWatch = FPlatform->WatchDeviceChanges([this] { DeviceChangeHook(); });
}

THidDevices::~THidDevices()
{
    FDeviceChangeWatch.reset();
    for (auto* device : std::as_const(FHidDeviceList))
        device->FHidDevices = nullptr;
}

void THidDevices::Loaded()
{
    UpdateDeviceList();
    if (NumberOfHidDevices() > 0)
        RaiseDeviceChange();
}

void THidDevices::EnumerateHidDevices()
{
    const QStringList paths = FPlatform->EnumerateDevicePaths();
    // The table has room for 127 devices; any further ones are left out and cannot be reached.
    const auto count = std::min<qsizetype>(paths.size(), MaxHidDevices);
    for (qsizetype i = 0; i < count; ++i)
        HidDevicePaths[std::size_t(i + 1)] = paths[i];
    FNumberOfHidDevices = std::uint32_t(count);
}

void THidDevices::UpdateDeviceList()
{
    FNumberOfHidDevices = 0;
    EnumerateHidDevices();
    for (const auto& device : HookedDevices())
        if (!device.isNull() && device->FHidDevices == this)
            device->RefreshDeviceIndex();
}

QList<QPointer<THidDevice>> THidDevices::HookedDevices() const
{
    QList<QPointer<THidDevice>> devices;
    for (auto* device : FHidDeviceList)
        devices.append(device);
    return devices;
}

bool THidDevices::DeviceChangeHook()
{
    const auto previousCount = FNumberOfHidDevices;
    for (int i = 0; i < RefreshesPerDeviceChange; ++i)
        UpdateDeviceList();
    if (FNumberOfHidDevices == previousCount || !OnDeviceChange)
        return false;
    RaiseDeviceChange();
    return true;
}

void THidDevices::HidDeviceLost()
{
    UpdateDeviceList();
    RaiseDeviceChange();
}

void THidDevices::RaiseDeviceChange()
{
    // A copy: the handler may replace the event.
    const auto handler = OnDeviceChange;
    if (handler)
        handler(this);
}

QString THidDevices::GetDevicePath(std::uint16_t DeviceNr) const
{
    if (DeviceNr == 0 || DeviceNr > NumberOfHidDevices())
        return {};
    return HidDevicePaths[DeviceNr];
}

template <typename Query> auto THidDevices::QueryDevice(std::uint16_t DeviceNr, Query&& Ask) const
{
    if (DeviceNr > NumberOfHidDevices())
        throw EUSBException(QStringLiteral("Device %1 is not available.").arg(DeviceNr));
    if (DeviceNr == 0)
        throw std::out_of_range("HID devices are numbered from 1");
    const auto handle = FPlatform->OpenShared(HidDevicePaths[DeviceNr]);
    if (!handle)
        throw EUSBException(QStringLiteral("Could not open device %1").arg(DeviceNr));
    return Ask(*handle);
}

std::uint16_t THidDevices::GetVendorId(std::uint16_t DeviceNr) const
{
    return QueryDevice(DeviceNr,
                       [](HidDeviceHandle& Handle) { return Handle.Attributes().VendorId; });
}

std::uint16_t THidDevices::GetProductId(std::uint16_t DeviceNr) const
{
    return QueryDevice(DeviceNr,
                       [](HidDeviceHandle& Handle) { return Handle.Attributes().ProductId; });
}

std::uint16_t THidDevices::GetVersionNumber(std::uint16_t DeviceNr) const
{
    return QueryDevice(DeviceNr,
                       [](HidDeviceHandle& Handle) { return Handle.Attributes().VersionNumber; });
}

QString THidDevices::GetManufacturerString(std::uint16_t DeviceNr) const
{
    return QueryDevice(
        DeviceNr, [](HidDeviceHandle& Handle) { return Handle.String(HidString::Manufacturer); });
}

QString THidDevices::GetProductString(std::uint16_t DeviceNr) const
{
    return QueryDevice(DeviceNr,
                       [](HidDeviceHandle& Handle) { return Handle.String(HidString::Product); });
}

QString THidDevices::GetSerialNumberString(std::uint16_t DeviceNr) const
{
    return QueryDevice(
        DeviceNr, [](HidDeviceHandle& Handle) { return Handle.String(HidString::SerialNumber); });
}

QString THidDevices::GetIndexedString(std::uint16_t DeviceNr, std::uint32_t StringIndex) const
{
    return QueryDevice(DeviceNr, [StringIndex](HidDeviceHandle& Handle) {
        return Handle.IndexedString(StringIndex);
    });
}

THidDevice* THidDevices::GetAssociatedHidDevice(std::uint16_t DeviceNr) const
{
    // A device that is not connected has an empty path and so never matches.
    const QString path = GetDevicePath(DeviceNr);
    if (path.isEmpty())
        return nullptr;
    for (auto* device : FHidDeviceList)
        if (device->DevicePath() == path)
            return device;
    return nullptr;
}

void THidDevices::HookHidDevice(THidDevice* HidDevice)
{
    FHidDeviceList.append(HidDevice);
    HidDevice->FHidDevices = this;
}

void THidDevices::UnhookHidDevice(THidDevice* HidDevice)
{
    HidDevice->FHidDevices = nullptr;
    FHidDeviceList.removeAll(HidDevice);
}

void THidDevices::DisconnectAll()
{
    for (const auto& device : HookedDevices())
        if (!device.isNull())
            device->Disconnect();
}

} // namespace qzr
