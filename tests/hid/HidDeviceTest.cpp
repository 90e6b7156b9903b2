#include "hid/HidDevice.h"
#include "hid/EUSBException.h"
#include "hid/HidDataPort.h"
#include "hid/HidDevices.h"
#include "tests/hid/support/ErrorOf.h"
#include "tests/hid/support/FakeHidPlatform.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qzr {
namespace {

using test::ErrorOf;
using test::FakeHidDevice;
using test::FakeHidPlatform;

class HidDeviceTest : public testing::Test {
protected:
    HidDeviceTest()
    {
        First = Platform->Plug("/fake/first", {0x3A7C, 0x0046, 0x0102});
        Second = Platform->Plug("/fake/second");
        Devices.Loaded();
        Device.SetHidDevices(&Devices);
        Device.OnDisconnect = [this](QObject* Sender) {
            EXPECT_EQ(Sender, &Device);
            ++Disconnects;
        };
    }

    std::shared_ptr<FakeHidPlatform> Platform = std::make_shared<FakeHidPlatform>();
    std::shared_ptr<FakeHidDevice> First;
    std::shared_ptr<FakeHidDevice> Second;
    THidDevices Devices{nullptr, Platform};
    int Disconnects = 0;
    THidDevice Device;
};

TEST_F(HidDeviceTest, ConnectRejectsNumbersOutsideTheList)
{
    EXPECT_EQ(ErrorOf([&] { Device.Connect(0); }), "Device 0 is not available.");
    EXPECT_EQ(ErrorOf([&] { Device.Connect(3); }), "Device 3 is not available.");
    EXPECT_FALSE(Device.Connected());
    EXPECT_EQ(Disconnects, 0);
}

TEST_F(HidDeviceTest, ConnectFailsWhenTheDeviceCannotBeOpened)
{
    Second->SetOpenable(false);
    EXPECT_EQ(ErrorOf([&] { Device.Connect(2); }), "Could not connect to device 2");
    EXPECT_FALSE(Device.Connected());
    EXPECT_EQ(Device.DevicePath(), "");
}

TEST_F(HidDeviceTest, ADeviceInNoListDoesNotConnect)
{
    THidDevice loose;
    EXPECT_NO_THROW(loose.Connect(1));
    EXPECT_FALSE(loose.Connected());
}

TEST_F(HidDeviceTest, ConnectingAConnectedDeviceDisconnectsItFirst)
{
    Device.Connect(1);
    EXPECT_EQ(Disconnects, 0);
    EXPECT_EQ(Device.DevicePath(), "/fake/first");

    Device.Connect(2);

    EXPECT_EQ(Disconnects, 1);
    EXPECT_TRUE(Device.Connected());
    EXPECT_EQ(Device.DeviceIndex(), 2);
    EXPECT_EQ(Device.DevicePath(), "/fake/second");
}

TEST_F(HidDeviceTest, DisconnectingADeviceThatIsNotConnectedDoesNothing)
{
    Device.Disconnect();
    Device.Connect(1);
    Device.Disconnect();
    Device.Disconnect();
    EXPECT_EQ(Disconnects, 1);
    EXPECT_EQ(First->OpenHandles(), 0) << "both handles are closed";
}

TEST_F(HidDeviceTest, WritesSendTheReportIdFollowedByTheData)
{
    Device.Connect(1);
    THidDataPort port;
    port.SetHidDevice(&Device);
    port.SetAsInt64(0x1112131415161718);

    EXPECT_TRUE(Device.SendData(0x05, {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_TRUE(Device.SendInt64(-2));
    EXPECT_TRUE(port.SendData());

    const std::vector<THidReport> expected = {
        {0x05, 1, 2, 3, 4, 5, 6, 7, 8},
        {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE},
        {0x00, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18},
    };
    EXPECT_EQ(First->Written(), expected);
}

TEST_F(HidDeviceTest, FailedAndShortWritesRaiseTheirErrorsAndKeepTheConnection)
{
    Device.Connect(1);
    const struct {
        std::optional<std::size_t> Taken;
        std::string Error;
    } cases[] = {
        {std::nullopt, "Unable to write to the USB device."},
        {0, "Unable to write all bytes to the USB device."},
        {7, "Unable to write all bytes to the USB device."},
        {8, "no error"}, // the report-ID byte need not be counted
        {9, "no error"},
    };
    for (const auto& write : cases) {
        First->SetWriteResult(write.Taken);
        EXPECT_EQ(ErrorOf([&] { Device.SendData(0, {}); }), write.Error)
            << write.Taken.value_or(-1);
        EXPECT_TRUE(Device.Connected());
    }
}

TEST_F(HidDeviceTest, DeviceQueriesNeedAConnection)
{
    const std::vector<std::pair<std::string, std::function<void()>>> queries = {
        {"SendData", [&] { Device.SendData(0, {}); }},
        {"SendInt64", [&] { Device.SendInt64(0); }},
        {"VendorId", [&] { Device.VendorId(); }},
        {"ProductId", [&] { Device.ProductId(); }},
        {"VersionNumber", [&] { Device.VersionNumber(); }},
        {"ManufacturerString", [&] { Device.ManufacturerString(); }},
        {"ProductString", [&] { Device.ProductString(); }},
        {"SerialNumberString", [&] { Device.SerialNumberString(); }},
        {"GetIndexedString", [&] { Device.GetIndexedString(1); }},
    };
    for (const auto& [name, query] : queries)
        EXPECT_EQ(ErrorOf(query), "The USB device is not connected.") << name;

    Device.Connect(1);
    EXPECT_EQ(Device.VendorId(), 0x3A7C);
    EXPECT_EQ(Device.ProductId(), 0x0046);
    EXPECT_EQ(Device.VersionNumber(), 0x0102);
    EXPECT_EQ(Device.ProductString(), "Fake device");
    EXPECT_EQ(Device.GetIndexedString(3), "String 3");
}

TEST_F(HidDeviceTest, MovingToAnotherListUnhooksFromTheFirst)
{
    THidDevices other(nullptr, Platform);
    other.Loaded();
    Device.Connect(1);
    Device.SetHidDevices(&other);
    EXPECT_EQ(Device.HidDevices(), &other);
    EXPECT_EQ(Devices.GetAssociatedHidDevice(1), nullptr);
    EXPECT_EQ(other.GetAssociatedHidDevice(1), &Device);
}

} // namespace
} // namespace qzr
