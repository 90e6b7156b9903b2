// The HID device layer's hidraw back end against the kernel's own devices.
#include "KernelGuest.h"
#include "hid/EUSBException.h"
#include "hid/HidDataPort.h"
#include "hid/HidDevice.h"
#include "hid/HidDevices.h"
#include "hid/platform/FileDescriptor.h"
#include "hid/platform/hidraw/HidrawPlatform.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>
#include <protocol/CradleIdentifiers.h>

#include <fcntl.h>
#include <sys/file.h>

namespace qzr::kernel {
namespace {

constexpr std::uint8_t TransmitterEmpty = 0x40;
constexpr std::uint8_t UnitPresent = 0x80;

std::string ErrorOf(const std::function<void()>& Action)
{
    try {
        Action();
    } catch (const EUSBException& error) {
        return error.what();
    }
    return "no error";
}

// The system's device list and one device object with an input and an output port on the
// HID cradle, recording what happens to them.
class HidLayerOnKernel : public testing::Test {
protected:
    void SetUp() override
    {
        Devices.OnDeviceChange = [this](QObject*) { ++DeviceChanges; };
        Devices.Loaded();
        Device.SetHidDevices(&Devices);
        Device.OnDisconnect = [this](QObject*) { ++Disconnects; };
        In.SetHidDevice(&Device);
        In.OnHidData = [this](QObject*) {
            ++ReportsIn;
            if ((In.AsByte(0) & TransmitterEmpty) == 0)
                ++BusyReports;
        };
        Out.SetHidDevice(&Device);
        Out.SetAcceptUSBData(false);
        HidNumber = NumberOf(HidCradleSerial);
        BridgeNumber = NumberOf(BridgeSerial);
        ASSERT_NE(HidNumber, 0);
        ASSERT_NE(BridgeNumber, 0);
    }

    std::uint16_t NumberOf(const char* Serial) const
    {
        const QString node = HidrawNodeOf(Serial);
        for (std::uint16_t number = 1; number <= Devices.NumberOfHidDevices(); ++number)
            if (Devices.GetDevicePath(number) == node)
                return number;
        return 0;
    }

    bool ReportsFlow()
    {
        const int start = ReportsIn;
        return WaitFor([&] { return ReportsIn >= start + 20; });
    }

    THidDevices Devices{nullptr, std::make_shared<HidrawPlatform>()};
    THidDevice Device;
    THidDataPort In;
    THidDataPort Out;
    std::uint16_t HidNumber = 0;
    std::uint16_t BridgeNumber = 0;
    int DeviceChanges = 0;
    int Disconnects = 0;
    int ReportsIn = 0;
    int BusyReports = 0;
};

TEST_F(HidLayerOnKernel, BothCradlesAreListedWithTheirIdentifiersAndSerialNumbers)
{
    EXPECT_GE(DeviceChanges, 1) << "loading with devices present reports them";
    EXPECT_EQ(Devices.GetDevicePath(HidNumber), HidrawNodeOf(HidCradleSerial));
    EXPECT_EQ(Devices.GetVendorId(HidNumber), CradleVendorId);
    EXPECT_EQ(Devices.GetProductId(HidNumber), HidCradleProductId);
    EXPECT_EQ(Devices.GetVendorId(BridgeNumber), CradleVendorId);
    EXPECT_EQ(Devices.GetProductId(BridgeNumber), BridgeCradleProductId);
    EXPECT_EQ(Devices.GetSerialNumberString(HidNumber), HidCradleSerial);
    EXPECT_EQ(Devices.GetSerialNumberString(BridgeNumber), BridgeSerial);
    // A uhid device has no USB device above it: the kernel keeps no version
    // number, manufacturer or product string for it.
    EXPECT_EQ(Devices.GetVersionNumber(HidNumber), 0);
    EXPECT_EQ(Devices.GetManufacturerString(HidNumber), "");
    EXPECT_EQ(Devices.GetProductString(HidNumber), "");
    EXPECT_EQ(Devices.GetIndexedString(HidNumber, 1), "");
    EXPECT_EQ(ErrorOf([&] { Devices.GetVendorId(Devices.NumberOfHidDevices() + 1); }),
              "Device " + std::to_string(Devices.NumberOfHidDevices() + 1) + " is not available.");
}

TEST_F(HidLayerOnKernel, ACradleHeldExclusivelyElsewhereCanNeitherBeQueriedNorConnected)
{
    FileDescriptor holder(
        ::open(QFile::encodeName(HidrawNodeOf(HidCradleSerial)).constData(), O_RDWR | O_CLOEXEC));
    ASSERT_TRUE(holder.Valid());
    ASSERT_EQ(::flock(holder.Get(), LOCK_EX | LOCK_NB), 0);
    const std::string number = std::to_string(HidNumber);
    EXPECT_EQ(ErrorOf([&] { Devices.GetVendorId(HidNumber); }), "Could not open device " + number);
    EXPECT_EQ(ErrorOf([&] { Device.Connect(HidNumber); }), "Could not connect to device " + number);
    EXPECT_FALSE(Device.Connected());
    EXPECT_EQ(Devices.GetProductId(BridgeNumber), BridgeCradleProductId)
        << "other devices stay reachable";

    holder = FileDescriptor();
    EXPECT_EQ(ErrorOf([&] { Device.Connect(HidNumber); }), "no error");
    EXPECT_TRUE(ReportsFlow());
}

TEST_F(HidLayerOnKernel, TheReaderHandsTheCradlesInputReportsToTheGuiThread)
{
    Device.Connect(HidNumber);
    EXPECT_EQ(Devices.GetAssociatedHidDevice(HidNumber), &Device);
    ASSERT_TRUE(ReportsFlow());
    EXPECT_TRUE(In.AsByte(0) & UnitPresent) << "the unit sits on the cradle";
    EXPECT_EQ(Device.SerialNumberString(), HidCradleSerial);
    EXPECT_EQ(Out.AsHidData(), THidData{}) << "a port that takes no reports keeps its buffer";

    Device.Disconnect();
    EXPECT_EQ(Disconnects, 1);
    const int afterDisconnect = ReportsIn;
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(ReportsIn, afterDisconnect) << "no report reaches a disconnected device";
}

TEST_F(HidLayerOnKernel, OutputReportsReachTheCradleWhichSendsTheirBytesOn)
{
    Device.Connect(HidNumber);
    ASSERT_TRUE(ReportsFlow());
    ASSERT_EQ(BusyReports, 0) << "an idle cradle has nothing to send";

    // Seven bytes for the unit (no frame it would answer): at 960 bytes/s the
    // cradle's transmitter is busy with them for several milliseconds.
    Out.SetAsHidData({7, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55});
    EXPECT_TRUE(Out.SendData());
    ASSERT_TRUE(WaitFor([&] { return BusyReports > 0; }));
    EXPECT_TRUE(WaitFor([&] { return In.AsByte(0) & TransmitterEmpty; }));
}

TEST_F(HidLayerOnKernel, UnplugAndPlugReachTheListThroughUdev)
{
    Device.Connect(HidNumber);
    ASSERT_TRUE(ReportsFlow());
    const int count = Devices.NumberOfHidDevices();
    const int changesBefore = DeviceChanges;

    SimulatorCommand(std::string("unplug ") + HidCradleName);
    ASSERT_TRUE(WaitFor([&] { return Disconnects == 1 && DeviceChanges == changesBefore + 1; }));
    EXPECT_EQ(Devices.NumberOfHidDevices(), count - 1);
    EXPECT_FALSE(Device.Connected());

    SimulatorCommand(std::string("plug ") + HidCradleName);
    ASSERT_TRUE(WaitFor([&] { return DeviceChanges == changesBefore + 2; }));
    EXPECT_EQ(Devices.NumberOfHidDevices(), count);
    const std::uint16_t again = NumberOf(HidCradleSerial);
    ASSERT_NE(again, 0);
    Device.Connect(again);
    EXPECT_TRUE(ReportsFlow());
}

} // namespace
} // namespace qzr::kernel
