#include "hid/EUSBException.h"
#include "hid/HidDataPort.h"
#include "hid/HidDevice.h"
#include "hid/HidDevices.h"
#include "hid/platform/FileDescriptor.h"
#include "hid/platform/vhid/VirtualBusPlatform.h"
#include "sim/program/Simulator.h"
#include "tests/hid/support/ErrorOf.h"
#include "tests/hid/support/RecordingBusDevice.h"
#include "tests/support/EventLoopWait.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <protocol/CradleIdentifiers.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>

namespace qzr {
namespace {

using test::ErrorOf;
using test::ProcessReadyEvents;
using test::WaitForEvents;

// Opens a bus device the way another program holding it exclusively would; the reply of the
// device and the open connection.
std::pair<std::uint8_t, FileDescriptor> OpenExclusively(const QString& SocketPath)
{
    FileDescriptor socket(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const auto path = SocketPath.toStdString();
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    EXPECT_EQ(::connect(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::uint8_t exclusiveOpen = 0x02;
    EXPECT_EQ(::send(socket.Get(), &exclusiveOpen, 1, 0), 1);
    std::uint8_t reply = 0xFF;
    EXPECT_EQ(::recv(socket.Get(), &reply, 1, 0), 1);
    return {reply, std::move(socket)};
}

// The simulator's cradles on a bus in a temporary directory, the device list of that bus and
// one device object with an input and an output port, recording what happens to them.
class HidOnVirtualBus : public testing::Test {
protected:
    HidOnVirtualBus()
    {
        Simulator.addHidCradle("cradle-b");
        Simulator.addHidCradle("cradle-a");
        Simulator.addBridgeCradle("bridge");
        Devices.OnDeviceChange = [this](QObject*) { ++DeviceChanges; };
        Devices.Loaded();
        Device.SetHidDevices(&Devices);
        Device.OnDisconnect = [this](QObject*) { ++Disconnects; };
        In.SetHidDevice(&Device);
        In.OnHidData = [this](QObject*) { ++ReportsIn; };
        Out.SetHidDevice(&Device);
        Out.SetAcceptUSBData(false);
    }

    QString PathOf(const std::string& Cradle) const
    {
        return QString::fromStdString(Simulator.devicePath(Cradle).string());
    }

    // Reports keep arriving from the cradle.
    bool ReportsFlow()
    {
        const int start = ReportsIn;
        return WaitForEvents([&] { return ReportsIn >= start + 10; });
    }

    QTemporaryDir BusDirectory;
    sim::Simulator Simulator{BusDirectory.path().toStdString()};
    int DeviceChanges = 0;
    int Disconnects = 0;
    int ReportsIn = 0;
    THidDevices Devices{nullptr, std::make_shared<VirtualBusPlatform>(BusDirectory.path())};
    THidDevice Device;
    THidDataPort In;
    THidDataPort Out;
};

TEST_F(HidOnVirtualBus, DevicesAreNumberedInTheOrderOfTheirNamesWithTheirIdentifiers)
{
    ASSERT_EQ(Devices.NumberOfHidDevices(), 3);
    EXPECT_EQ(DeviceChanges, 1) << "loading with devices present reports them";

    EXPECT_EQ(Devices.GetDevicePath(1), PathOf("bridge"));
    EXPECT_EQ(Devices.GetDevicePath(2), PathOf("cradle-a"));
    EXPECT_EQ(Devices.GetDevicePath(3), PathOf("cradle-b"));
    EXPECT_EQ(Devices.GetVendorId(1), CradleVendorId);
    EXPECT_EQ(Devices.GetProductId(1), BridgeCradleProductId);
    EXPECT_EQ(Devices.GetVendorId(2), CradleVendorId);
    EXPECT_EQ(Devices.GetProductId(2), HidCradleProductId);
    EXPECT_EQ(Devices.GetSerialNumberString(2), "HC-cradle-a");
    EXPECT_EQ(Devices.GetSerialNumberString(3), "HC-cradle-b");
}

TEST_F(HidOnVirtualBus, AConnectedCradleIsAssociatedWithItsDeviceAndCanStillBeQueried)
{
    Device.Connect(3);
    EXPECT_EQ(Devices.GetAssociatedHidDevice(3), &Device);
    EXPECT_EQ(Devices.GetAssociatedHidDevice(2), nullptr);
    EXPECT_EQ(Devices.GetProductId(3), HidCradleProductId);
    EXPECT_EQ(Device.SerialNumberString(), "HC-cradle-b");

    Device.Connect(2);
    EXPECT_EQ(Disconnects, 1);
    EXPECT_EQ(Devices.GetAssociatedHidDevice(2), &Device);
    EXPECT_EQ(Devices.GetAssociatedHidDevice(3), nullptr);
}

TEST_F(HidOnVirtualBus, ConnectRaisesItsErrorsWithTheirNumbers)
{
    EXPECT_EQ(ErrorOf([&] { Device.Connect(0); }), "Device 0 is not available.");
    EXPECT_EQ(ErrorOf([&] { Device.Connect(4); }), "Device 4 is not available.");

    auto [reply, holder] = OpenExclusively(PathOf("cradle-a"));
    ASSERT_EQ(reply, 0x00);
    EXPECT_EQ(ErrorOf([&] { Device.Connect(2); }), "Could not connect to device 2");
    EXPECT_EQ(ErrorOf([&] { Devices.GetVendorId(2); }), "Could not open device 2");
    EXPECT_FALSE(Device.Connected());
    EXPECT_EQ(Disconnects, 0);

    holder = FileDescriptor();
    ASSERT_TRUE(WaitForEvents([&] { return ErrorOf([&] { Device.Connect(2); }) == "no error"; }));
    EXPECT_TRUE(ReportsFlow());
}

TEST_F(HidOnVirtualBus, InputReportsReachAcceptingPortsOnly)
{
    Device.Connect(2);
    ASSERT_TRUE(ReportsFlow());
    EXPECT_TRUE(In.AsBit(6 + 56)) << "an empty cradle's transmitter is empty";
    EXPECT_FALSE(In.AsBit(7 + 56)) << "no unit on the cradle";
    EXPECT_EQ(Out.AsHidData(), THidData{});
}

TEST_F(HidOnVirtualBus, UnpluggingAConnectedCradleDisconnectsItAndReportsTheChangeOnce)
{
    Device.Connect(2);
    ASSERT_TRUE(ReportsFlow());
    const int changesBefore = DeviceChanges;

    Simulator.unplug("cradle-a");
    ASSERT_TRUE(
        WaitForEvents([&] { return Disconnects == 1 && DeviceChanges == changesBefore + 1; }));
    ProcessReadyEvents();

    EXPECT_EQ(Disconnects, 1);
    EXPECT_EQ(DeviceChanges, changesBefore + 1);
    EXPECT_EQ(Devices.NumberOfHidDevices(), 2);
    EXPECT_EQ(Devices.GetDevicePath(2), PathOf("cradle-b")) << "later devices move down";
}

TEST_F(HidOnVirtualBus, ABroadcastThatLeavesTheCountStaysSilentButDisconnectsAVanishedCradle)
{
    Device.Connect(2);
    const int changesBefore = DeviceChanges;

    Simulator.unplug("cradle-a");
    Simulator.addHidCradle("cradle-c");
    EXPECT_FALSE(Devices.DeviceChangeHook());

    EXPECT_EQ(Disconnects, 1);
    EXPECT_EQ(DeviceChanges, changesBefore);
    EXPECT_EQ(Devices.NumberOfHidDevices(), 3);
}

TEST_F(HidOnVirtualBus, ACradlePulledOutAndBackBetweenTwoLooksGetsAFreshConnection)
{
    Device.Connect(2);
    ASSERT_TRUE(ReportsFlow());
    const int changesBefore = DeviceChanges;

    Simulator.unplug("cradle-a");
    Simulator.plug("cradle-a");
    ASSERT_TRUE(WaitForEvents([&] { return !Device.Connected(); }));
    ASSERT_TRUE(WaitForEvents([&] { return DeviceChanges > changesBefore; }));

    EXPECT_EQ(Disconnects, 1);
    EXPECT_EQ(Devices.NumberOfHidDevices(), 3);
    EXPECT_EQ(Devices.GetAssociatedHidDevice(2), nullptr) << "the owner sees a new cradle";

    Device.Connect(2);
    EXPECT_TRUE(ReportsFlow());
}

TEST_F(HidOnVirtualBus, TheBusNamedByTheEnvironmentIsUsed)
{
    qputenv("VHID_BUS", BusDirectory.path().toUtf8());
    THidDevices fromEnvironment;
    qunsetenv("VHID_BUS");
    fromEnvironment.Loaded();
    EXPECT_EQ(fromEnvironment.NumberOfHidDevices(), 3);
    EXPECT_EQ(fromEnvironment.GetDevicePath(3), PathOf("cradle-b"));
}

// A device of its own on the bus, to see reports exactly as they travel.
class HidReportsOnVirtualBus : public testing::Test {
protected:
    QTemporaryDir BusDirectory;
    test::RecordingBusDevice Recorder{BusDirectory.path(), "recorder"};
    THidDevices Devices{nullptr, std::make_shared<VirtualBusPlatform>(BusDirectory.path())};
    THidDevice Device;
};

TEST_F(HidReportsOnVirtualBus, OutputReportsCarryTheReportIdThenTheData)
{
    Devices.Loaded();
    Device.SetHidDevices(&Devices);
    Device.Connect(1);
    THidDataPort out;
    out.SetHidDevice(&Device);
    out.SetAsLongInt(0, 0x01020304);
    out.SetAsLongInt(1, -1);

    Device.SendData(0x05, {8, 7, 6, 5, 4, 3, 2, 1});
    Device.SendInt64(0x1122334455667788);
    out.SendData();
    ASSERT_TRUE(Recorder.WaitForOutputs(3));

    const std::vector<THidReport> expected = {
        {0x05, 8, 7, 6, 5, 4, 3, 2, 1},
        {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88},
        {0x00, 0x01, 0x02, 0x03, 0x04, 0xFF, 0xFF, 0xFF, 0xFF},
    };
    EXPECT_EQ(Recorder.Outputs(), expected);
}

TEST_F(HidReportsOnVirtualBus, TheReportIdOfAnInputReportReachesOnlyTheDevicesEvent)
{
    Devices.Loaded();
    Device.SetHidDevices(&Devices);
    std::vector<std::pair<std::uint8_t, THidData>> seen;
    Device.OnHidData = [&](QObject*, std::uint8_t ReportId, const THidData& Data) {
        seen.emplace_back(ReportId, Data);
    };
    THidDataPort in;
    in.SetHidDevice(&Device);
    Device.Connect(1);
    // The write connection and the reader's.
    ASSERT_TRUE(WaitForEvents([&] { return Recorder.OpenConnections() == 2; }));

    Recorder.SendInput({0x07, 1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_TRUE(WaitForEvents([&] { return seen.size() == 1; }));

    EXPECT_EQ(seen[0].first, 0x07);
    EXPECT_EQ(seen[0].second, (THidData{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(in.AsHidData(), (THidData{1, 2, 3, 4, 5, 6, 7, 8}));
}

} // namespace
} // namespace qzr
