#include "hid/HidDevice.h"

#include "hid/EUSBException.h"
#include "hid/HidDataPort.h"
#include "hid/HidDevices.h"
#include "hid/HidThread.h"
#include "hid/platform/HidPlatform.h"

#include <QPointer>
#include <algorithm>

namespace qzr {

THidDevice::THidDevice(QObject* AOwner) : QObject(AOwner) {}

THidDevice::~THidDevice()
{
    Disconnect();
    if (FHidDevices != nullptr)
        FHidDevices->UnhookHidDevice(this);
    for (auto* port : std::as_const(FHidDataPortList))
        port->FHidDevice = nullptr;
}

void THidDevice::SetHidDevices(THidDevices* HidDevices)
{
    if (FHidDevices != nullptr)
        FHidDevices->UnhookHidDevice(this);
    if (HidDevices != nullptr)
        HidDevices->HookHidDevice(this);
}

void THidDevice::Connect(std::uint16_t DeviceIndex)
{
    Disconnect();
    if (FHidDevices == nullptr)
        return;
    if (DeviceIndex == 0 || DeviceIndex > FHidDevices->NumberOfHidDevices())
        throw EUSBException(QStringLiteral("Device %1 is not available.").arg(DeviceIndex));

    const QString path = FHidDevices->GetDevicePath(DeviceIndex);
    const auto platform = FHidDevices->Platform();
    auto handle = platform->OpenShared(path);
    if (!handle)
        throw EUSBException(QStringLiteral("Could not connect to device %1").arg(DeviceIndex));

    FHandle = std::move(handle);
    FDeviceIndex = DeviceIndex;
    FDevicePath = path;

    auto reader = std::make_unique<THidThread>(platform);
    reader->OnHidData = [this](QObject* Sender, std::uint8_t ReportId, const THidData& Data) {
        ThreadHidData(Sender, ReportId, Data);
    };
    reader->OnReadFailed = [this](THidThread* Sender) { ThreadReadFailed(Sender); };
    reader->SetDevicePath(path);
    FReadThread = std::move(reader);
    FReadThread->Start();
    FConnected = true;
}

void THidDevice::Disconnect()
{
    if (!FConnected)
        return;
    if (FReadThread) {
        FReadThread->GoAway();
        // Told to go away, the reader ends at once, even while it waits for this thread.
        FReadThread.reset();
    }
    FDevicePath.clear();
    FDeviceIndex = 0;
    FHandle.reset();
    FConnected = false;
    // A copy: the handler may destroy this device.
    const auto handler = OnDisconnect;
    if (handler)
        handler(this);
}

bool THidDevice::SendData(std::uint8_t ReportId, const THidData& Data)
{
    if (!FConnected)
        throw EUSBException(QStringLiteral("The USB device is not connected."));
    THidReport report{};
    report[0] = ReportId;
    std::copy(Data.begin(), Data.end(), report.begin() + 1);
    const auto written = FHandle->Write(report);
    if (!written)
        throw EUSBException(QStringLiteral("Unable to write to the USB device."));
    // The report ID byte need not be counted: 8 bytes taken is a whole report.
    if (*written < Data.size())
        throw EUSBException(QStringLiteral("Unable to write all bytes to the USB device."));
    return true;
}

bool THidDevice::SendInt64(std::int64_t Data)
{
    THidData bytes{};
    auto value = static_cast<std::uint64_t>(Data);
    for (auto byte = bytes.rbegin(); byte != bytes.rend(); ++byte, value >>= 8)
        *byte = static_cast<std::uint8_t>(value);
    return SendData(0, bytes);
}

HidDeviceHandle& THidDevice::ConnectedHandle() const
{
    if (!FConnected)
        throw EUSBException(QStringLiteral("The USB device is not connected."));
    return *FHandle;
}

std::uint16_t THidDevice::VendorId() const
{
    return ConnectedHandle().Attributes().VendorId;
}

std::uint16_t THidDevice::ProductId() const
{
    return ConnectedHandle().Attributes().ProductId;
}

std::uint16_t THidDevice::VersionNumber() const
{
    return ConnectedHandle().Attributes().VersionNumber;
}

QString THidDevice::ManufacturerString() const
{
    return ConnectedHandle().String(HidString::Manufacturer);
}

QString THidDevice::ProductString() const
{
    return ConnectedHandle().String(HidString::Product);
}

QString THidDevice::SerialNumberString() const
{
    return ConnectedHandle().String(HidString::SerialNumber);
}

QString THidDevice::GetIndexedString(std::uint32_t StringIndex) const
{
    return ConnectedHandle().IndexedString(StringIndex);
}

void THidDevice::HookHidDataPort(THidDataPort* HidDataPort)
{
    FHidDataPortList.append(HidDataPort);
    HidDataPort->FHidDevice = this;
}

void THidDevice::UnhookHidDataPort(THidDataPort* HidDataPort)
{
    HidDataPort->FHidDevice = nullptr;
    FHidDataPortList.removeAll(HidDataPort);
}

void THidDevice::RefreshDeviceIndex()
{
    if (!FConnected || FHidDevices == nullptr)
        return;
    const auto count = FHidDevices->NumberOfHidDevices();
    for (std::uint16_t number = 1; number <= count; ++number) {
        if (FHidDevices->GetDevicePath(number) == FDevicePath) {
            FDeviceIndex = number;
            return;
        }
    }
    Disconnect();
}

void THidDevice::ThreadHidData(QObject* Sender, std::uint8_t ReportId, const THidData& Data)
{
    // Handlers may disconnect or destroy this device; from then on the report goes nowhere.
    const QPointer<THidDevice> self(this);
    const auto fromCurrentReader = [&] {
        return !self.isNull() && FReadThread != nullptr && FReadThread.get() == Sender;
    };
    if (!fromCurrentReader())
        return;
    const THidData data = Data;
    const auto handler = OnHidData;
    if (handler)
        handler(this, ReportId, data);
    for (qsizetype i = 0; fromCurrentReader() && i < FHidDataPortList.size(); ++i)
        FHidDataPortList[i]->ReceiveHidData(data);
}

void THidDevice::ThreadReadFailed(THidThread* Sender)
{
    if (FReadThread.get() != Sender)
        return;
    // The device was pulled out. Disconnecting here, rather than at the next enumeration, also
    // catches a device that came back under the same path before the list looked again.
    const QPointer<THidDevices> list(FHidDevices);
    Disconnect();
    if (!list.isNull())
        list->HidDeviceLost();
}

} // namespace qzr
