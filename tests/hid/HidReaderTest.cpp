#include "hid/HidDataPort.h"
#include "hid/HidDevice.h"
#include "hid/HidDevices.h"
#include "tests/hid/support/FakeHidPlatform.h"
#include "tests/support/EventLoopWait.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace qzr {
namespace {

using test::FakeHidDevice;
using test::FakeHidPlatform;
using test::ProcessReadyEvents;
using test::WaitForEvents;

THidReport Report(std::uint8_t ReportId, std::uint8_t First)
{
    return {ReportId, First, 2, 3, 4, 5, 6, 7, 8};
}

// A connected device with two input ports and an output port, recording what reaches them.
class HidReaderTest : public testing::Test {
protected:
    HidReaderTest()
    {
        Cradle = Platform->Plug("/fake/cradle");
        Devices.Loaded();
        Devices.OnDeviceChange = [this](QObject*) { Events.push_back("device change"); };
        Device->SetHidDevices(&Devices);
        Device->OnDisconnect = [this](QObject*) { Events.push_back("disconnect"); };
        Device->OnHidData = [this](QObject* Sender, std::uint8_t ReportId, const THidData& Data) {
            EXPECT_EQ(Sender, Device.get());
            Events.push_back("device " + std::to_string(ReportId) + ":" + std::to_string(Data[0]));
        };
        for (auto* port : {&In1, &In2, &Out}) {
            port->SetHidDevice(Device.get());
            port->OnHidData = [this, port](QObject* Sender) {
                EXPECT_EQ(Sender, port);
                Events.push_back((port == &In1 ? "in1 " : "in2 ") +
                                 std::to_string(port->AsByte(0)));
            };
        }
        Out.SetAcceptUSBData(false);
        Device->Connect(1);
    }

    // The write handle and the reader's own.
    bool ReaderRunning() const { return Cradle->WaitForOpenHandles(2); }

    std::shared_ptr<FakeHidPlatform> Platform = std::make_shared<FakeHidPlatform>();
    std::shared_ptr<FakeHidDevice> Cradle;
    THidDevices Devices{nullptr, Platform};
    std::vector<std::string> Events;
    THidDataPort In1;
    THidDataPort In2;
    THidDataPort Out;
    std::unique_ptr<THidDevice> Device = std::make_unique<THidDevice>();
};

TEST_F(HidReaderTest, EachReportReachesTheDeviceThenEveryAcceptingPortInOrder)
{
    Cradle->QueueInput(Report(0, 10));
    Cradle->QueueInput(Report(7, 11));
    ASSERT_TRUE(WaitForEvents([&] { return Events.size() == 6; }));

    const std::vector<std::string> expected = {
        "device 0:10", "in1 10", "in2 10", "device 7:11", "in1 11", "in2 11",
    };
    EXPECT_EQ(Events, expected);
    EXPECT_EQ(Out.AsHidData(), THidData{});
}

TEST_F(HidReaderTest, NoReportArrivesAfterDisconnectNotEvenOneAlreadyRead)
{
    Cradle->QueueInput(Report(0, 10));
    ASSERT_TRUE(Cradle->WaitForReportsRead(1));

    Device->Disconnect();
    EXPECT_EQ(Cradle->OpenHandles(), 0) << "the reader has ended";
    ProcessReadyEvents();

    EXPECT_EQ(Events, std::vector<std::string>{"disconnect"});
}

TEST_F(HidReaderTest, AHandlerThatDisconnectsStopsTheReportThere)
{
    In1.OnHidData = [this](QObject*) {
        Events.push_back("in1");
        Device->Disconnect();
    };
    Cradle->QueueInput(Report(0, 10));
    Cradle->QueueInput(Report(0, 11));
    ASSERT_TRUE(WaitForEvents([&] { return Events.size() == 3; }));
    ProcessReadyEvents();

    const std::vector<std::string> expected = {"device 0:10", "in1", "disconnect"};
    EXPECT_EQ(Events, expected);
    EXPECT_EQ(Cradle->OpenHandles(), 0);
}

TEST_F(HidReaderTest, AHandlerMayDestroyTheDevice)
{
    In1.OnHidData = [this](QObject*) {
        Events.push_back("in1");
        Device.reset();
    };
    Cradle->QueueInput(Report(0, 10));
    ASSERT_TRUE(WaitForEvents([&] { return !Device; }));
    ProcessReadyEvents();

    const std::vector<std::string> expected = {"device 0:10", "in1", "disconnect"};
    EXPECT_EQ(Events, expected);
    EXPECT_EQ(In2.HidDevice(), nullptr);
}

TEST_F(HidReaderTest, AnExceptionFromAHandlerEndsTheReaderButNotTheConnection)
{
    Device->OnHidData = [this](QObject*, std::uint8_t, const THidData&) {
        Events.push_back("throw");
        throw std::runtime_error("handler failed");
    };
    ASSERT_TRUE(ReaderRunning());
    Cradle->QueueInput(Report(0, 10));
    ASSERT_TRUE(WaitForEvents([&] { return Events.size() == 1; }));

    Cradle->QueueInput(Report(0, 11));
    ASSERT_TRUE(Cradle->WaitForOpenHandles(1)) << "the reader ends instead of reading on";
    ProcessReadyEvents();

    EXPECT_EQ(Events, std::vector<std::string>{"throw"});
    EXPECT_EQ(Cradle->ReportsRead(), 1);
    EXPECT_TRUE(Device->Connected());
}

TEST_F(HidReaderTest, AFailedReadDisconnectsTheDeviceAndReportsAChange)
{
    // Pulled out and back under the same path before the list enumerates again: the path is
    // still there, so only the failed read can tell that the connection is dead.
    ASSERT_TRUE(ReaderRunning());
    Cradle->Fail();
    ASSERT_TRUE(WaitForEvents([&] { return !Device->Connected(); }));

    const std::vector<std::string> expected = {"disconnect", "device change"};
    EXPECT_EQ(Events, expected);
    EXPECT_EQ(Devices.NumberOfHidDevices(), 1);
    EXPECT_EQ(Devices.GetAssociatedHidDevice(1), nullptr);

    Device->Connect(1);
    EXPECT_TRUE(Device->Connected()) << "a fresh connection can be made";
}

TEST_F(HidReaderTest, DisconnectAfterTheReaderEndedOnItsOwnIsSafeAndHappensOnce)
{
    ASSERT_TRUE(ReaderRunning());
    Cradle->Fail();
    ASSERT_TRUE(Cradle->WaitForOpenHandles(1));

    Device->Disconnect();
    ProcessReadyEvents();

    EXPECT_EQ(Events, std::vector<std::string>{"disconnect"});
}

TEST_F(HidReaderTest, AnUnplugSeenByTheListAndByTheReaderDisconnectsOnce)
{
    ASSERT_TRUE(ReaderRunning());
    Platform->Unplug("/fake/cradle");
    Platform->Broadcast();
    ProcessReadyEvents();

    const std::vector<std::string> expected = {"disconnect", "device change"};
    EXPECT_EQ(Events, expected);
}

} // namespace
} // namespace qzr
