#include "cli/CradleScan.h"

#include <hid/EUSBException.h>
#include <hid/HidDevices.h>

#include <QFileInfo>
#include <QtGlobal>

#include <algorithm>

namespace qzr::cli {

namespace {

constexpr auto VirtualBusVariable = "VHID_BUS";
const QLatin1String SocketSuffix(".sock");

bool OnVirtualBus()
{
    return !qEnvironmentVariable(VirtualBusVariable).isEmpty();
}

} // namespace

QString CradleName(const QString& devicePath)
{
    if (!OnVirtualBus())
        return devicePath;
    QString name = QFileInfo(devicePath).fileName();
    if (name.endsWith(SocketSuffix))
        name.chop(SocketSuffix.size());
    return name;
}

QString KindName(TCradleKind kind)
{
    return kind == TCradleKind::Hid ? QStringLiteral("hid") : QStringLiteral("bridge");
}

QList<TCradleEntry> ScanCradles(const THidDevices& devices, const TCradleIdentifierSet& ids)
{
    QList<TCradleEntry> cradles;
    const std::uint16_t count = devices.NumberOfHidDevices();
    for (std::uint16_t d = 1; d <= count; ++d) {
        try {
            TCradleEntry entry;
            entry.VendorId = devices.GetVendorId(d);
            entry.ProductId = devices.GetProductId(d);
            if (entry.VendorId != ids.VendorId)
                continue;
            if (entry.ProductId == ids.HidProductId)
                entry.Kind = TCradleKind::Hid;
            else if (entry.ProductId == ids.BridgeProductId)
                entry.Kind = TCradleKind::Bridge;
            else
                continue;
            entry.DevicePath = devices.GetDevicePath(d);
            entry.Device = CradleName(entry.DevicePath);
            entry.UsbSerial = devices.GetSerialNumberString(d);
            entry.DeviceNr = d;
            cradles.append(entry);
        } catch (const EUSBException&) {
            // Gone since the enumeration, or held exclusively elsewhere.
        }
    }
    std::stable_sort(cradles.begin(), cradles.end(),
                     [](const TCradleEntry& a, const TCradleEntry& b) {
                         return a.Kind == TCradleKind::Hid && b.Kind == TCradleKind::Bridge;
                     });
    return cradles;
}

} // namespace qzr::cli
