#pragma once

#include "cradle/CradleIdentifierSet.h"

#include <QList>
#include <QString>

#include <cstdint>

namespace qzr {
class THidDevices;
}

namespace qzr::cli {

enum class TCradleKind { Hid, Bridge };

// A cradle found in the HID device list.
struct TCradleEntry {
    // The name by which -d picks it: the device's name on the virtual HID bus
    // (hid1), the device node on the system (/dev/hidraw3).
    QString Device;
    QString DevicePath;
    TCradleKind Kind = TCradleKind::Hid;
    std::uint16_t VendorId = 0;
    std::uint16_t ProductId = 0;
    QString UsbSerial;
    // The cradle's number in the device list, for the HID link's Connect.
    std::uint16_t DeviceNr = 0;
};

// The cradles in the list as the main window's scan recognises them (vendor ID
// and either product ID), HID cradles first, then bridge cradles, each in the
// list's order. A device that cannot be asked (a cradle another program holds
// exclusively) is left out, as the main window leaves it out.
QList<TCradleEntry> ScanCradles(const THidDevices& devices, const TCradleIdentifierSet& ids);

// The name that scan prints for a device path.
QString CradleName(const QString& devicePath);

// "hid" or "bridge".
QString KindName(TCradleKind kind);

} // namespace qzr::cli
