#pragma once

#include "hid/HidData.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QObject;

namespace qzr {

class HidWakeSignal;

// Vendor identifier, product identifier and version number of a HID device; all 0 when the
// system cannot tell them.
struct HidAttributes {
    std::uint16_t VendorId = 0;
    std::uint16_t ProductId = 0;
    std::uint16_t VersionNumber = 0;
};

enum class HidString { Manufacturer, Product, SerialNumber };

enum class HidReadOutcome {
    Report,   // a whole input report was read
    NotReady, // there was no report after all; wait again
    Failed,   // the device is gone or the read failed
};

// One open of a HID device, shared with other openers. Reading and writing may happen on
// different threads; each handle is used by one thread at a time.
class HidDeviceHandle {
public:
    virtual ~HidDeviceHandle() = default;

    virtual HidAttributes Attributes() = 0;
    // Empty when the system cannot read the string.
    virtual QString String(HidString Which) = 0;
    virtual QString IndexedString(std::uint32_t StringIndex) = 0;

    // Writes one output report (report ID followed by the data bytes). The number of bytes the
    // system took, or nothing when the write failed.
    virtual std::optional<std::size_t> Write(const THidReport& Report) = 0;

    // Waits until an input report can be read (or the device has gone, which the read then
    // tells), however long it takes, unless Wake is raised first: false then.
    virtual bool WaitForInput(const HidWakeSignal& Wake) = 0;
    // Reads one input report; does not block once WaitForInput has returned true.
    virtual HidReadOutcome Read(THidReport& Report) = 0;
};

// What the HID device layer needs of the system. Every operation may be called from any thread.
class HidPlatform {
public:
    virtual ~HidPlatform() = default;

    // Paths of the HID device interfaces present now, in a stable order.
    virtual QStringList EnumerateDevicePaths() = 0;

    // Opens a device for reading and writing, shared with other openers; nothing when the device
    // is gone, not accessible or held exclusively by someone else.
    virtual std::unique_ptr<HidDeviceHandle> OpenShared(const QString& DevicePath) = 0;

    // Calls OnChange on the calling (GUI) thread whenever devices may have come or gone, for as
    // long as the returned object lives.
    virtual std::unique_ptr<QObject> WatchDeviceChanges(std::function<void()> OnChange) = 0;
};

// The virtual HID bus in the directory named by VHID_BUS when that is set and not empty, the
// system's hidraw devices otherwise.
std::shared_ptr<HidPlatform> CreateHidPlatform();

} // namespace qzr
