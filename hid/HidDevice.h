#pragma once

#include "hid/HidData.h"

#include <QList>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

namespace qzr {

class HidDeviceHandle;
class THidDataPort;
class THidDevices;
class THidThread;

// One HID device opened for a window: connects to a device by its number in a device list,
// sends output reports, and hands every input report (on the GUI thread, through its reader) to
// OnHidData and to its hooked data ports. Every report carries 8 data bytes.
class THidDevice : public QObject {
    Q_OBJECT
public:
    explicit THidDevice(QObject* AOwner = nullptr);
    ~THidDevice() override;

    THidDevices* HidDevices() const { return FHidDevices; }
    // Unhooks from the current list, then hooks into the new one (at the end of its order).
    void SetHidDevices(THidDevices* HidDevices);

    virtual void Disconnect();
    virtual bool SendData(std::uint8_t ReportId, const THidData& Data);
    virtual bool SendInt64(std::int64_t Data);
    virtual void Connect(std::uint16_t DeviceIndex);

    bool Connected() const { return FConnected; }
    std::uint16_t DeviceIndex() const { return FDeviceIndex; }
    QString DevicePath() const { return FDevicePath; }

    std::uint16_t VendorId() const;
    std::uint16_t ProductId() const;
    std::uint16_t VersionNumber() const;
    QString ManufacturerString() const;
    QString ProductString() const;
    QString SerialNumberString() const;
    QString GetIndexedString(std::uint32_t StringIndex) const;

    void HookHidDataPort(THidDataPort* HidDataPort);
    void UnhookHidDataPort(THidDataPort* HidDataPort);

    // After each enumeration of the list: takes the device's new number, or disconnects when
    // its path is gone.
    void RefreshDeviceIndex();

    // The reader's handler, on the GUI thread.
    void ThreadHidData(QObject* Sender, std::uint8_t ReportId, const THidData& Data);

    TNotifyEvent OnDisconnect;
    THidDataEvent OnHidData;

private:
    friend class THidDevices;

    void ThreadReadFailed(THidThread* Sender);
    HidDeviceHandle& ConnectedHandle() const;

    THidDevices* FHidDevices = nullptr;
    QList<THidDataPort*> FHidDataPortList;
    bool FConnected = false;
    std::uint16_t FDeviceIndex = 0;
    std::unique_ptr<THidThread> FReadThread;
    QString FDevicePath;
    std::unique_ptr<HidDeviceHandle> FHandle;
};

} // namespace qzr
