#include "hid/platform/hidraw/HidrawSysfs.h"
#include "hid/EUSBException.h"
#include "hid/HidDevices.h"
#include "hid/platform/hidraw/HidrawPlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace qzr {
namespace {

// A sysfs tree as the kernel lays it out for hidraw devices, and a device directory with a
// plain file standing in for each device node.
class FakeHidrawTree {
public:
    FakeHidrawTree()
    {
        const QString usbDevice = "devices/pci0000:00/0000:00:14.0/usb1/1-2";
        Write(usbDevice + "/uevent", "MAJOR=189\nDEVTYPE=usb_device\nDEVNAME=bus/usb/001/003\n");
        Write(usbDevice + "/idVendor", "3a7c\n");
        Write(usbDevice + "/bcdDevice", "0105\n");
        Write(usbDevice + "/manufacturer", "Halvern\n");
        Write(usbDevice + "/product", "ZT-46 cradle\n");
        Write(usbDevice + "/serial", "HC-0001\n");
        Write(usbDevice + "/1-2:1.0/uevent", "DEVTYPE=usb_interface\n");
        AddHidraw(usbDevice + "/1-2:1.0/0003:3A7C:0046.0001", "0003:00003A7C:00000046", 10,
                  "HC-0001");

        // A HID device made by uhid: no USB device above it, its serial number in HID_UNIQ.
        AddHidraw("devices/virtual/misc/uhid/0003:046D:B012.0002", "0003:0000046D:0000B012", 2,
                  "VX00000001");
    }

    QString SysfsRoot() const { return FRoot.filePath("sys"); }
    QString DeviceRoot() const { return FRoot.filePath("dev"); }
    QString Node(const QString& Name) const { return DeviceRoot() + '/' + Name; }

private:
    void AddHidraw(const QString& HidDevice, const QString& HidId, int Number, const QString& Uniq)
    {
        const QString name = QString("hidraw%1").arg(Number);
        Write(HidDevice + "/uevent",
              "DRIVER=hid-generic\nHID_ID=" + HidId + "\nHID_NAME=x\nHID_UNIQ=" + Uniq + "\n");
        const QString classEntry = HidDevice + "/hidraw/" + name;
        Write(classEntry + "/uevent",
              "MAJOR=241\nMINOR=" + QString::number(Number) + "\nDEVNAME=" + name + "\n");
        Link(classEntry + "/device", FRoot.filePath("sys/" + HidDevice));
        Link("class/hidraw/" + name, FRoot.filePath("sys/" + classEntry));
        QDir().mkpath(DeviceRoot());
        QFile node(Node(name));
        EXPECT_TRUE(node.open(QIODevice::WriteOnly));
    }

    void Write(const QString& Path, const QString& Text)
    {
        const QString file = FRoot.filePath("sys/" + Path);
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(Text.toUtf8());
    }

    void Link(const QString& Path, const QString& Target)
    {
        const QString link = FRoot.filePath("sys/" + Path);
        QDir().mkpath(QFileInfo(link).path());
        ASSERT_TRUE(QFile::link(Target, link));
    }

    QTemporaryDir FRoot;
};

TEST(HidrawSysfs, ListsDevicesInTheOrderOfTheirNumbersWithAttributesAndStrings)
{
    FakeHidrawTree tree;
    const auto devices = HidrawSysfs(tree.SysfsRoot(), tree.DeviceRoot()).Devices();
    ASSERT_EQ(devices.size(), 2u);

    EXPECT_EQ(devices[0].DevicePath, tree.Node("hidraw2"));
    EXPECT_EQ(devices[0].Attributes.VendorId, 0x046D);
    EXPECT_EQ(devices[0].Attributes.ProductId, 0xB012);
    EXPECT_EQ(devices[0].Attributes.VersionNumber, 0);
    EXPECT_EQ(devices[0].Product, "");
    EXPECT_EQ(devices[0].SerialNumber, "VX00000001");

    EXPECT_EQ(devices[1].DevicePath, tree.Node("hidraw10"));
    EXPECT_EQ(devices[1].Attributes.VendorId, 0x3A7C);
    EXPECT_EQ(devices[1].Attributes.ProductId, 0x0046);
    EXPECT_EQ(devices[1].Attributes.VersionNumber, 0x0105);
    EXPECT_EQ(devices[1].Manufacturer, "Halvern");
    EXPECT_EQ(devices[1].Product, "ZT-46 cradle");
    EXPECT_EQ(devices[1].SerialNumber, "HC-0001");
}

TEST(HidrawSysfs, AMissingTreeHasNoDevices)
{
    EXPECT_TRUE(HidrawSysfs("/nonexistent/sys", "/dev").Devices().empty());
}

TEST(HidrawPlatform, DeviceListNumbersAndQueriesTheDevicesOfTheTree)
{
    FakeHidrawTree tree;
    auto platform =
        std::make_shared<HidrawPlatform>(HidrawSysfs(tree.SysfsRoot(), tree.DeviceRoot()));
    THidDevices devices(nullptr, platform);
    devices.Loaded();

    ASSERT_EQ(devices.NumberOfHidDevices(), 2);
    EXPECT_EQ(devices.GetDevicePath(1), tree.Node("hidraw2"));
    EXPECT_EQ(devices.GetDevicePath(2), tree.Node("hidraw10"));
    EXPECT_EQ(devices.GetVendorId(2), 0x3A7C);
    EXPECT_EQ(devices.GetProductId(2), 0x0046);
    EXPECT_EQ(devices.GetVersionNumber(2), 0x0105);
    EXPECT_EQ(devices.GetSerialNumberString(2), "HC-0001");
    EXPECT_EQ(devices.GetIndexedString(2, 1), "") << "hidraw cannot read string descriptors";
}

TEST(HidrawPlatform, ADeviceNodeLockedExclusivelyByAnotherOpenerCannotBeQueried)
{
    FakeHidrawTree tree;
    auto platform =
        std::make_shared<HidrawPlatform>(HidrawSysfs(tree.SysfsRoot(), tree.DeviceRoot()));
    THidDevices devices(nullptr, platform);
    devices.Loaded();

    const int holder = ::open(QFile::encodeName(tree.Node("hidraw10")).constData(), O_RDWR);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    try {
        devices.GetVendorId(2);
        ADD_FAILURE() << "no exception";
    } catch (const EUSBException& error) {
        EXPECT_STREQ(error.what(), "Could not open device 2");
    }
    EXPECT_EQ(devices.GetVendorId(1), 0x046D) << "other devices stay reachable";

    ::close(holder);
    EXPECT_EQ(devices.GetVendorId(2), 0x3A7C);
}

} // namespace
} // namespace qzr
