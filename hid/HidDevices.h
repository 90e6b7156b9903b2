#pragma once

#include "hid/HidData.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

namespace qzr {

class HidPlatform;
class THidDevice;

// The HID device interfaces present on the machine, numbered 1..N in enumeration order, with
// their paths, attributes and strings, and the device objects of this program that hold them.
// Enumerates again after every change of the device tree and raises OnDeviceChange when the
// number of devices changed. Everything runs on the GUI thread.
class THidDevices : public QObject {
    Q_OBJECT
public:
    static constexpr std::uint16_t MaxHidDevices = 127;

    // Watches for device changes from now on but does not enumerate yet (Loaded does). Without
    // a platform the system's devices are used, or the virtual bus that VHID_BUS names.
    explicit THidDevices(QObject* AOwner = nullptr, std::shared_ptr<HidPlatform> Platform = {});
    // Hooked devices stay connected and lose their reference to this list.
    ~THidDevices() override;

    // Call once the owner is set up: the first enumeration, then OnDeviceChange when a device
    // is present and the event is assigned.
    void Loaded();

    std::uint16_t NumberOfHidDevices() const { return std::uint16_t(FNumberOfHidDevices); }

    QString GetDevicePath(std::uint16_t DeviceNr) const;
    std::uint16_t GetVendorId(std::uint16_t DeviceNr) const;
    std::uint16_t GetProductId(std::uint16_t DeviceNr) const;
    std::uint16_t GetVersionNumber(std::uint16_t DeviceNr) const;
    QString GetManufacturerString(std::uint16_t DeviceNr) const;
    QString GetProductString(std::uint16_t DeviceNr) const;
    QString GetSerialNumberString(std::uint16_t DeviceNr) const;
    QString GetIndexedString(std::uint16_t DeviceNr, std::uint32_t StringIndex) const;
    THidDevice* GetAssociatedHidDevice(std::uint16_t DeviceNr) const;

    // Called by THidDevice when its list is assigned.
    void HookHidDevice(THidDevice* HidDevice);
    void UnhookHidDevice(THidDevice* HidDevice);

    void DisconnectAll();

    // Enumerates and lets every hooked device find its path again.
    void UpdateDeviceList();

    // The handler of the device-change broadcast: ten refreshes, then OnDeviceChange when the
    // number of devices changed. Whether the change was reported.
    bool DeviceChangeHook();

    const std::shared_ptr<HidPlatform>& Platform() const { return FPlatform; }

    TNotifyEvent OnDeviceChange;

private:
    friend class THidDevice;

    void EnumerateHidDevices();
    // A hooked device lost its device (its reader's read failed) and disconnected itself.
    void HidDeviceLost();
    void RaiseDeviceChange();
    // The hooked devices, watched: a disconnect's handlers may unhook or destroy devices while
    // the caller walks them.
    QList<QPointer<THidDevice>> HookedDevices() const;
    // Opens device DeviceNr for a query, or raises the errors of a query.
    template <typename Query> auto QueryDevice(std::uint16_t DeviceNr, Query&& Ask) const;

    std::shared_ptr<HidPlatform> FPlatform;
    std::unique_ptr<QObject> FDeviceChangeWatch;
    std::uint32_t FNumberOfHidDevices = 0;
    QList<THidDevice*> FHidDeviceList;
    // Entry k holds the path of device k (entry 0 unused).
    std::array<QString, MaxHidDevices + 1> HidDevicePaths;
};

} // namespace qzr
