// The hidraw back end against a fake sysfs tree and fake device nodes in a
// temporary directory.
#include "tests/support/TemporaryDirectory.h"

#include "platform/DeviceIo.h"
#include "platform/HidrawPlatform.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace vexa;
using namespace vexa::platform;
using qzr::test::TemporaryDirectory;

namespace {

// A vendor-defined collection without report IDs, and one with report ID 1.
const std::string unnumberedDescriptor("\x06\x00\xFF\x09\x01\xA1\x01\x15\x00\x26\xFF\x00"
                                       "\x75\x08\x95\x40\x09\x01\x81\x02\x09\x01\x91\x02\xC0",
                                       25);
const std::string numberedDescriptor("\x06\x00\xFF\x09\x01\xA1\x01\x85\x01\x75\x08\x95\x40"
                                     "\x09\x01\x81\x02\xC0",
                                     18);

class HidrawPlatformTest : public ::testing::Test {
protected:
    std::filesystem::path sys() const { return root_.path() / "sys"; }
    std::filesystem::path dev() const { return root_.path() / "dev"; }
    HidrawPlatform platform() const { return HidrawPlatform(sys().string(), dev().string()); }

    static void write(const std::filesystem::path& file, const std::string& content)
    {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }

    // A hidraw node as the kernel shows it: the node's uevent, its HID
    // device's uevent and report descriptor, and the device node.
    void addNode(const std::string& name, const std::string& hidId, const std::string& serial,
                 const std::string& descriptor = unnumberedDescriptor)
    {
        const auto node = sys() / "class/hidraw" / name;
        write(node / "uevent", "MAJOR=240\nMINOR=3\nDEVNAME=" + name + "\n");
        write(node / "device/uevent", "DRIVER=hid-generic\nHID_ID=" + hidId +
                                          "\nHID_NAME=Sorvik Vexa\nHID_UNIQ=" + serial +
                                          "\nMODALIAS=hid:b0003\n");
        write(node / "device/report_descriptor", descriptor);
        write(dev() / name, "");
    }

    // A USB device with its interface bound to usbhid.
    void addUsbhidDevice(const std::string& port, const std::string& vid, const std::string& pid,
                         const std::optional<std::string>& serial)
    {
        const auto device = sys() / "devices/pci0000:00/usb1" / port;
        write(device / "idVendor", vid + "\n");
        write(device / "idProduct", pid + "\n");
        if (serial)
            write(device / "serial", *serial + "\n");
        const auto interface = device / (port + ":1.0");
        std::filesystem::create_directories(interface);
        const auto driver = sys() / "bus/usb/drivers/usbhid";
        std::filesystem::create_directories(driver);
        std::filesystem::create_directory_symlink(interface, driver / (port + ":1.0"));
    }

    std::vector<DeviceRecord> list() const
    {
        std::vector<DeviceRecord> devices;
        EXPECT_EQ(platform().listDevices(devices), VEXA_OK);
        return devices;
    }

    TemporaryDirectory root_;
};

TEST_F(HidrawPlatformTest, EachNodeCarriesItsOwnIdsInNodeNumberOrder)
{
    addNode("hidraw10", "0003:00003A7C:00000146", "VX00000010");
    addNode("hidraw2", "0003:0000046D:0000C52B", "");
    addNode("hidraw9", "0003:00003a7c:00000046", "HC-1", numberedDescriptor);
    write(sys() / "class/hidraw/README", "not a node");

    const auto devices = list();
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[0].hardwareId, "HID\\VID_046D&PID_C52B");
    EXPECT_EQ(devices[0].path, (dev() / "hidraw2").string());
    EXPECT_FALSE(devices[0].serialNumber.has_value());
    EXPECT_EQ(devices[0].kind, DescriptorKind::hidrawUnnumbered);

    EXPECT_EQ(devices[1].hardwareId, "HID\\VID_3A7C&PID_0046");
    EXPECT_EQ(devices[1].serialNumber, u"HC-1");
    EXPECT_EQ(devices[1].kind, DescriptorKind::hidrawNumbered);

    EXPECT_EQ(devices[2].hardwareId, "HID\\VID_3A7C&PID_0146");
    EXPECT_EQ(devices[2].path, (dev() / "hidraw10").string());
    EXPECT_EQ(devices[2].serialNumber, u"VX00000010");
}

TEST_F(HidrawPlatformTest, NodeWhoseRecordsVanishedIsSkipped)
{
    addNode("hidraw0", "0003:00003A7C:00000146", "A");
    std::filesystem::create_directories(sys() / "class/hidraw/hidraw1");
    EXPECT_EQ(list().size(), 1u);
}

TEST_F(HidrawPlatformTest, MissingClassMeansNoDevicesAndAnUnreadableOneFails)
{
    EXPECT_TRUE(list().empty());
    write(sys() / "class/hidraw", "a file where a directory belongs");
    std::vector<DeviceRecord> devices;
    EXPECT_EQ(platform().listDevices(devices), VEXA_FAILED);
}

TEST_F(HidrawPlatformTest, ExclusiveOpenLocksTheNode)
{
    addNode("hidraw0", "0003:00003A7C:00000146", "A");
    const auto device = list().at(0);
    VexaHandle first = VEXA_INVALID_HANDLE;
    ASSERT_EQ(platform().openExclusive(device, first), VEXA_OK);
    VexaHandle second = VEXA_INVALID_HANDLE;
    EXPECT_EQ(platform().openExclusive(device, second), VEXA_DEVICE_IN_USE);
    EXPECT_EQ(second, VEXA_INVALID_HANDLE);

    EXPECT_EQ(closeDevice(first), VEXA_OK);
    ASSERT_EQ(platform().openExclusive(device, second), VEXA_OK);
    EXPECT_EQ(closeDevice(second), VEXA_OK);

    std::filesystem::remove(dev() / "hidraw0");
    EXPECT_EQ(platform().openExclusive(device, second), VEXA_OPEN_REFUSED);
}

TEST_F(HidrawPlatformTest, HidUsbInstancesNameVidPidAndSerial)
{
    addUsbhidDevice("1-2", "3a7c", "0146", "VX00000001");
    addUsbhidDevice("1-3", "046d", "c52b", std::nullopt);
    write(sys() / "bus/usb/drivers/usbhid/bind", "");
    write(sys() / "bus/usb/drivers/usbhid/uevent", "DRIVER=usbhid\n");

    std::vector<std::u16string> instances;
    ASSERT_EQ(platform().listHidUsbInstances(instances), VEXA_OK);
    EXPECT_EQ(instances, std::vector<std::u16string>{u"USB\\VID_3a7c&PID_0146\\VX00000001"});
}

TEST_F(HidrawPlatformTest, NoUsbhidDriverMeansNoInstances)
{
    std::vector<std::u16string> instances{u"stale"};
    ASSERT_EQ(platform().listHidUsbInstances(instances), VEXA_OK);
    EXPECT_TRUE(instances.empty());
}

struct DescriptorCase {
    const char* name;
    std::string bytes;
    bool numbered;
};

void PrintTo(const DescriptorCase& c, std::ostream* out)
{
    *out << c.name;
}

class ReportIdDetectionTest : public ::testing::TestWithParam<DescriptorCase> {};

TEST_P(ReportIdDetectionTest, ReportIdItemMarksNumberedReports)
{
    EXPECT_EQ(descriptorUsesReportIds(GetParam().bytes), GetParam().numbered);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptors, ReportIdDetectionTest,
    ::testing::Values(
        DescriptorCase{"vendorWithout", unnumberedDescriptor, false},
        DescriptorCase{"vendorWith", numberedDescriptor, true},
        // 0x85 as the data of a logical maximum, and inside a long item.
        DescriptorCase{"valueThatLooksLikeAnId", std::string("\x26\x85\x00\x75\x08", 5), false},
        DescriptorCase{"longItem", std::string("\xFE\x02\x10\x85\x01\x75\x08", 7), false},
        DescriptorCase{"truncated", std::string("\x06\x00", 2), false},
        DescriptorCase{"empty", std::string(), false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
