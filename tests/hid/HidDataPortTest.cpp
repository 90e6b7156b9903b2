#include "hid/HidDataPort.h"
#include "hid/EUSBException.h"
#include "hid/HidDevice.h"

#include <gtest/gtest.h>

#include <memory>

namespace qzr {
namespace {

const THidData SomeReport{1, 2, 3, 4, 5, 6, 7, 8};

TEST(HidDataPort, StartsEmptyAndAcceptingWithoutADevice)
{
    THidDataPort port;
    EXPECT_EQ(port.AsHidData(), THidData{});
    EXPECT_TRUE(port.AcceptUSBData());
    EXPECT_EQ(port.HidDevice(), nullptr);
}

TEST(HidDataPort, AnAcceptingPortHoldsTheReportWhenItsEventRuns)
{
    THidDataPort port;
    std::optional<THidData> seen;
    QObject* sender = nullptr;
    port.OnHidData = [&](QObject* Sender) {
        sender = Sender;
        seen = port.AsHidData();
    };
    port.ReceiveHidData(SomeReport);
    EXPECT_EQ(seen, SomeReport);
    EXPECT_EQ(sender, &port);
}

TEST(HidDataPort, APortThatDoesNotAcceptDataKeepsItsBufferAndStaysSilent)
{
    THidDataPort port;
    port.SetAcceptUSBData(false);
    port.SetAsInt64(42);
    int events = 0;
    port.OnHidData = [&](QObject*) { ++events; };
    for (int i = 0; i < 3; ++i)
        port.ReceiveHidData(SomeReport);
    EXPECT_EQ(port.AsInt64(), 42);
    EXPECT_EQ(events, 0);
}

TEST(HidDataPort, SendingWithoutADeviceRaisesItsError)
{
    THidDataPort port;
    try {
        port.SendData();
        FAIL() << "no exception";
    } catch (const EUSBException& error) {
        EXPECT_STREQ(error.what(), "There is no THidDevice connected to the THidDataPort.");
    }
}

TEST(HidDataPort, SendingThroughADeviceThatIsNotConnectedRaisesTheDevicesError)
{
    THidDevice device;
    THidDataPort port;
    port.SetHidDevice(&device);
    try {
        port.SendData();
        FAIL() << "no exception";
    } catch (const EUSBException& error) {
        EXPECT_STREQ(error.what(), "The USB device is not connected.");
    }
}

TEST(HidDataPort, PortAndDeviceForgetEachOtherWhenEitherGoes)
{
    auto device = std::make_unique<THidDevice>();
    THidDataPort survivingPort;
    survivingPort.SetHidDevice(device.get());
    {
        THidDataPort shortLivedPort;
        shortLivedPort.SetHidDevice(device.get());
        EXPECT_EQ(shortLivedPort.HidDevice(), device.get());
    }
    device.reset();
    EXPECT_EQ(survivingPort.HidDevice(), nullptr);
}

TEST(HidDataPort, MovingToAnotherDeviceLeavesTheFirst)
{
    THidDevice first;
    THidDevice second;
    THidDataPort port;
    port.SetHidDevice(&first);
    port.SetHidDevice(&second);
    EXPECT_EQ(port.HidDevice(), &second);
    port.SetHidDevice(nullptr);
    EXPECT_EQ(port.HidDevice(), nullptr);
}

} // namespace
} // namespace qzr
