#include "hid/platform/hidraw/HidrawSysfs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

namespace qzr {

namespace {

QString ReadAttribute(const QString& Directory, const QString& Name)
{
    QFile file(Directory + '/' + Name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    while (text.endsWith('\n'))
        text.chop(1);
    return text;
}

QHash<QString, QString> ReadUevent(const QString& Directory)
{
    QHash<QString, QString> values;
    const auto lines = ReadAttribute(Directory, QStringLiteral("uevent")).split('\n');
    for (const auto& line : lines) {
        const auto equals = line.indexOf('=');
        if (equals > 0)
            values.insert(line.left(equals), line.mid(equals + 1));
    }
    return values;
}

std::uint16_t HexNumber(const QString& Text)
{
    bool ok = false;
    const auto value = Text.trimmed().toULong(&ok, 16);
    return ok ? static_cast<std::uint16_t>(value) : 0;
}

// HID_ID is "bus:vendor:product" in hexadecimal, e.g. "0003:00003A7C:00000046".
void TakeHidId(const QString& HidId, HidAttributes& Attributes)
{
    const auto parts = HidId.split(':');
    if (parts.size() != 3)
        return;
    Attributes.VendorId = HexNumber(parts[1]);
    Attributes.ProductId = HexNumber(parts[2]);
}

int HidrawNumber(const QString& Name)
{
    bool ok = false;
    const int number = Name.mid(QStringLiteral("hidraw").size()).toInt(&ok);
    return ok && Name.startsWith(QStringLiteral("hidraw")) ? number : -1;
}

} // namespace

HidrawSysfs::HidrawSysfs(QString SysfsRoot, QString DeviceRoot)
    : FSysfsRoot(std::move(SysfsRoot)), FDeviceRoot(std::move(DeviceRoot))
{}

std::vector<HidrawDeviceRecord> HidrawSysfs::Devices() const
{
    const QDir classDirectory(FSysfsRoot + QStringLiteral("/class/hidraw"));
    auto names = classDirectory.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return std::pair(HidrawNumber(a), a) < std::pair(HidrawNumber(b), b);
    });

    std::vector<HidrawDeviceRecord> devices;
    for (const auto& name : names)
        devices.push_back(ReadDevice(classDirectory.filePath(name)));
    return devices;
}

std::optional<HidrawDeviceRecord> HidrawSysfs::DeviceAt(const QString& DevicePath) const
{
    for (auto& device : Devices())
        if (device.DevicePath == DevicePath)
            return device;
    return std::nullopt;
}

HidrawDeviceRecord HidrawSysfs::ReadDevice(const QString& ClassEntry) const
{
    HidrawDeviceRecord record;
    const auto node =
        ReadUevent(ClassEntry).value(QStringLiteral("DEVNAME"), QFileInfo(ClassEntry).fileName());
    record.DevicePath = FDeviceRoot + '/' + node;

    const QString hidDevice = QFileInfo(ClassEntry + QStringLiteral("/device")).canonicalFilePath();
    if (hidDevice.isEmpty())
        return record;
    const auto hidEvent = ReadUevent(hidDevice);
    TakeHidId(hidEvent.value(QStringLiteral("HID_ID")), record.Attributes);
    // Without a USB device above it (uhid, Bluetooth, I2C) the kernel keeps the device's
    // serial number in HID_UNIQ alone.
    record.SerialNumber = hidEvent.value(QStringLiteral("HID_UNIQ"));

    // The USB device is the nearest ancestor that says so; devices on other buses have none.
    const QString root = QFileInfo(FSysfsRoot).canonicalFilePath();
    for (QDir ancestor(hidDevice); ancestor.cdUp() && ancestor.path().startsWith(root + '/');) {
        const QString directory = ancestor.path();
        if (ReadUevent(directory).value(QStringLiteral("DEVTYPE")) != QStringLiteral("usb_device"))
            continue;
        record.Attributes.VersionNumber =
            HexNumber(ReadAttribute(directory, QStringLiteral("bcdDevice")));
        record.Manufacturer = ReadAttribute(directory, QStringLiteral("manufacturer"));
        record.Product = ReadAttribute(directory, QStringLiteral("product"));
        record.SerialNumber = ReadAttribute(directory, QStringLiteral("serial"));
        break;
    }
    return record;
}

} // namespace qzr
