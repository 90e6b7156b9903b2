#include "hid/HidDevices.h"
#include "hid/EUSBException.h"
#include "hid/HidDevice.h"
#include "tests/hid/support/FakeHidPlatform.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace qzr {
namespace {

using test::FakeHidPlatform;

QString PathOf(int Number)
{
    return QStringLiteral("/fake/hid%1").arg(Number, 3, 10, QChar('0'));
}

class HidDevicesTest : public testing::Test {
protected:
    void PlugDevices(int Count)
    {
        for (int i = 1; i <= Count; ++i)
            Platform->Plug(PathOf(i), {0x3A7C, std::uint16_t(0x40 + i), 0x0100});
    }

    std::unique_ptr<THidDevice> ConnectedDevice(std::uint16_t Number)
    {
        auto device = std::make_unique<THidDevice>();
        device->SetHidDevices(&Devices);
        device->Connect(Number);
        return device;
    }

    std::shared_ptr<FakeHidPlatform> Platform = std::make_shared<FakeHidPlatform>();
    THidDevices Devices{nullptr, Platform};
    int DeviceChanges = 0;
};

TEST_F(HidDevicesTest, WithoutDevicesTheCountIsZeroAndLoadingStaysSilent)
{
    Devices.OnDeviceChange = [&](QObject*) { ++DeviceChanges; };
    Devices.Loaded();
    EXPECT_EQ(Devices.NumberOfHidDevices(), 0);
    EXPECT_EQ(DeviceChanges, 0);
}

TEST_F(HidDevicesTest, LoadingWithDevicesPresentReportsAChangeFromTheList)
{
    PlugDevices(2);
    QObject* sender = nullptr;
    Devices.OnDeviceChange = [&](QObject* Sender) {
        ++DeviceChanges;
        sender = Sender;
    };
    Devices.Loaded();
    EXPECT_EQ(Devices.NumberOfHidDevices(), 2);
    EXPECT_EQ(DeviceChanges, 1);
    EXPECT_EQ(sender, &Devices);
}

TEST_F(HidDevicesTest, NumbersFollowTheEnumerationOrderAndStopAtTheTablesSize)
{
    PlugDevices(130);
    Devices.Loaded();
    ASSERT_EQ(Devices.NumberOfHidDevices(), 127);
    EXPECT_EQ(Devices.GetDevicePath(1), PathOf(1));
    EXPECT_EQ(Devices.GetDevicePath(127), PathOf(127));
    EXPECT_EQ(Devices.GetDevicePath(128), "");
    EXPECT_EQ(Devices.GetDevicePath(0), "");
    EXPECT_EQ(Devices.GetProductId(127), 0x40 + 127);
}

TEST_F(HidDevicesTest, QueriesAnswerFromTheDevice)
{
    PlugDevices(2);
    Devices.Loaded();
    EXPECT_EQ(Devices.GetVendorId(2), 0x3A7C);
    EXPECT_EQ(Devices.GetProductId(2), 0x42);
    EXPECT_EQ(Devices.GetVersionNumber(2), 0x0100);
    EXPECT_EQ(Devices.GetProductString(2), "Fake device");
    EXPECT_EQ(Devices.GetManufacturerString(2), "");
    EXPECT_EQ(Devices.GetIndexedString(2, 7), "String 7");
}

TEST_F(HidDevicesTest, EveryQueryRaisesTheSameErrorsForDevicesItCannotReach)
{
    PlugDevices(3);
    Devices.Loaded();
    Platform->Unplug(PathOf(2)); // after the last enumeration

    const std::vector<std::pair<std::string, std::function<void(std::uint16_t)>>> queries = {
        {"GetVendorId", [&](auto Nr) { Devices.GetVendorId(Nr); }},
        {"GetProductId", [&](auto Nr) { Devices.GetProductId(Nr); }},
        {"GetVersionNumber", [&](auto Nr) { Devices.GetVersionNumber(Nr); }},
        {"GetManufacturerString", [&](auto Nr) { Devices.GetManufacturerString(Nr); }},
        {"GetProductString", [&](auto Nr) { Devices.GetProductString(Nr); }},
        {"GetSerialNumberString", [&](auto Nr) { Devices.GetSerialNumberString(Nr); }},
        {"GetIndexedString", [&](auto Nr) { Devices.GetIndexedString(Nr, 1); }},
    };
    const struct {
        std::uint16_t Number;
        std::string Message;
    } unreachable[] = {
        {4, "Device 4 is not available."},
        {2, "Could not open device 2"},
    };
    for (const auto& [name, query] : queries) {
        for (const auto& device : unreachable) {
            try {
                query(device.Number);
                ADD_FAILURE() << name << " of " << device.Number << " raised nothing";
            } catch (const EUSBException& error) {
                EXPECT_EQ(error.what(), device.Message) << name;
            }
        }
        EXPECT_THROW(query(0), std::out_of_range) << name;
    }
}

TEST_F(HidDevicesTest, ADeviceHeldExclusivelyElsewhereCannotBeQueried)
{
    PlugDevices(1);
    Devices.Loaded();
    Platform->Plug(PathOf(9))->SetOpenable(false);
    Devices.UpdateDeviceList();
    ASSERT_EQ(Devices.NumberOfHidDevices(), 2);
    try {
        Devices.GetVendorId(2);
        FAIL() << "no exception";
    } catch (const EUSBException& error) {
        EXPECT_STREQ(error.what(), "Could not open device 2");
    }
}

TEST_F(HidDevicesTest, ABroadcastThatChangesTheCountReportsItAndRenumbersConnectedDevices)
{
    PlugDevices(3);
    Devices.Loaded();
    auto third = ConnectedDevice(3);
    Devices.OnDeviceChange = [&](QObject*) { ++DeviceChanges; };

    Platform->Unplug(PathOf(1));
    Platform->Broadcast();

    EXPECT_EQ(DeviceChanges, 1);
    EXPECT_EQ(Devices.NumberOfHidDevices(), 2);
    EXPECT_TRUE(third->Connected());
    EXPECT_EQ(third->DeviceIndex(), 2);
    EXPECT_EQ(Devices.GetAssociatedHidDevice(2), third.get());
}

TEST_F(HidDevicesTest, ABroadcastThatLeavesTheCountStaysSilentButDisconnectsAVanishedDevice)
{
    PlugDevices(2);
    Devices.Loaded();
    auto second = ConnectedDevice(2);
    int disconnects = 0;
    second->OnDisconnect = [&](QObject*) { ++disconnects; };
    Devices.OnDeviceChange = [&](QObject*) { ++DeviceChanges; };

    Platform->Unplug(PathOf(2));
    Platform->Plug(PathOf(3));
    EXPECT_FALSE(Devices.DeviceChangeHook());

    EXPECT_EQ(DeviceChanges, 0);
    EXPECT_EQ(disconnects, 1);
    EXPECT_FALSE(second->Connected());
    EXPECT_EQ(second->DevicePath(), "");
    EXPECT_EQ(second->DeviceIndex(), 0);
}

TEST_F(HidDevicesTest, ABroadcastReportsWhatItsTenthRefreshFinds)
{
    // A device that comes or goes while the system is still settling its device tree.
    const struct {
        const char* Name;
        int PlugBefore;   // refresh before which a second device appears
        int UnplugBefore; // refresh before which it has gone again; 0: it stays
        std::uint16_t Count;
        int Changes;
    } cases[] = {
        {"appears before the tenth refresh", 10, 0, 2, 1},
        {"appears only after the tenth refresh", 11, 0, 1, 0},
        {"comes and goes again before the tenth refresh", 1, 10, 1, 0},
    };
    for (const auto& c : cases) {
        auto platform = std::make_shared<FakeHidPlatform>();
        platform->Plug(PathOf(1));
        THidDevices devices(nullptr, platform);
        devices.Loaded();
        int changes = 0;
        devices.OnDeviceChange = [&](QObject*) { ++changes; };
        int refresh = 0;
        platform->SetBeforeEnumeration([&] {
            ++refresh;
            if (refresh == c.PlugBefore)
                platform->Plug(PathOf(2));
            if (refresh == c.UnplugBefore)
                platform->Unplug(PathOf(2));
        });

        EXPECT_EQ(devices.DeviceChangeHook(), c.Changes > 0) << c.Name;
        EXPECT_EQ(devices.NumberOfHidDevices(), c.Count) << c.Name;
        EXPECT_EQ(changes, c.Changes) << c.Name;
    }
}

TEST_F(HidDevicesTest, AssociationFollowsPathsAndHookingOrder)
{
    PlugDevices(2);
    Devices.Loaded();
    EXPECT_EQ(Devices.GetAssociatedHidDevice(1), nullptr);

    THidDevice idle;
    idle.SetHidDevices(&Devices);
    EXPECT_EQ(Devices.GetAssociatedHidDevice(1), nullptr);
    EXPECT_EQ(Devices.GetAssociatedHidDevice(3), nullptr) << "no number matches an idle device";

    auto first = ConnectedDevice(1);
    auto alsoFirst = ConnectedDevice(1);
    EXPECT_EQ(Devices.GetAssociatedHidDevice(1), first.get());
    EXPECT_EQ(Devices.GetAssociatedHidDevice(2), nullptr);

    first->SetHidDevices(&Devices); // assigning the same list moves it to the end
    EXPECT_EQ(Devices.GetAssociatedHidDevice(1), alsoFirst.get());
}

TEST_F(HidDevicesTest, DisconnectAllDisconnectsEveryHookedDeviceInHookingOrder)
{
    PlugDevices(2);
    Devices.Loaded();
    auto second = ConnectedDevice(2);
    auto first = ConnectedDevice(1);
    std::vector<QObject*> order;
    for (auto* device : {second.get(), first.get()})
        device->OnDisconnect = [&](QObject* Sender) { order.push_back(Sender); };

    Devices.DisconnectAll();

    EXPECT_EQ(order, (std::vector<QObject*>{second.get(), first.get()}));
}

TEST_F(HidDevicesTest, DevicesOutliveTheirListStillConnected)
{
    PlugDevices(1);
    auto devices = std::make_unique<THidDevices>(nullptr, Platform);
    devices->Loaded();
    THidDevice device;
    device.SetHidDevices(devices.get());
    device.Connect(1);

    devices.reset();

    EXPECT_EQ(device.HidDevices(), nullptr);
    EXPECT_TRUE(device.Connected());
    EXPECT_TRUE(device.SendInt64(1));
}

} // namespace
} // namespace qzr
