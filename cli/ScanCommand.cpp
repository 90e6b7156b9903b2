#include "cli/Commands.h"
#include "cli/CradleScan.h"
#include "cli/HeldBridges.h"

#include <hid/HidDevices.h>

#include <QJsonArray>
#include <QJsonObject>

namespace qzr::cli {

namespace {

QString Hex4(std::uint16_t value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

} // namespace

void RunScan(const TCliContext& context)
{
    THidDevices devices;
    devices.UpdateDeviceList();
    QJsonArray list;
    const QList<TCradleEntry> cradles = ScanCradles(devices, context.Ids);
    for (const TCradleEntry& cradle : cradles) {
        context.Output.Line(QStringLiteral("%1\t%2\t%3:%4\t%5")
                                .arg(cradle.Device, KindName(cradle.Kind), Hex4(cradle.VendorId),
                                     Hex4(cradle.ProductId), cradle.UsbSerial));
        list.append(QJsonObject{{"device", cradle.Device},
                                {"kind", KindName(cradle.Kind)},
                                {"vendor_id", cradle.VendorId},
                                {"product_id", cradle.ProductId},
                                {"usb_serial", cradle.UsbSerial}});
    }
    context.Output.Document(list);
    const QString held = HeldBridgesRemark(HeldBridgeCount(cradles, context.Ids));
    if (!held.isEmpty())
        context.Output.Note(held);
}

} // namespace qzr::cli
