#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>

#include "RawBusClient.h"
#include "sim/bus/BusThread.h"
#include "sim/bus/VirtualHidBus.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WaitFor.h"

namespace {

using simtest::Bytes;
using simtest::RawBusClient;
using namespace std::chrono_literals;

constexpr std::size_t ReportSize = 8;

// Records output reports with their arrival times; sends what it is told to.
class RecordingModel : public sim::DeviceModel {
public:
    void onOutputReport(std::span<const std::uint8_t> report, sim::TimePoint now,
                        sim::DeviceHost& host) override
    {
        std::lock_guard lock(mutex);
        received.emplace_back(report.begin(), report.end());
        arrivals.push_back(now);
        if (report.size() > 1 && report[1] == 0xEE) {
            host.reenumerate(reenumerationAbsence);
        }
    }
    void onTick(sim::TimePoint, sim::DeviceHost& host) override
    {
        for (const auto& report : toSend) {
            host.sendInputReport(report);
        }
        toSend.clear();
    }
    sim::TimePoint nextTick() const override
    {
        return toSend.empty() ? sim::TimePoint::max() : sim::TimePoint::min();
    }
    void onPlugged(bool plugged, sim::DeviceHost&) override { pluggedEvents.push_back(plugged); }

    std::vector<Bytes> receivedReports()
    {
        std::lock_guard lock(mutex);
        return received;
    }

    std::mutex mutex;
    std::vector<Bytes> received;
    std::vector<sim::TimePoint> arrivals;
    std::vector<Bytes> toSend; // loop thread only
    std::vector<bool> pluggedEvents;
    std::chrono::milliseconds reenumerationAbsence{50};
};

Bytes report(std::uint8_t first, std::uint8_t fill = 0)
{
    Bytes bytes(ReportSize + 1, fill);
    bytes[0] = 0;
    bytes[1] = first;
    return bytes;
}

sim::DeviceDescriptor cradleDescriptor()
{
    sim::DeviceDescriptor descriptor;
    descriptor.vendorId = 0x3A7C;
    descriptor.productId = 0x0046;
    descriptor.version = 0x0123;
    descriptor.manufacturer = "Maker";
    descriptor.product = "Thing";
    descriptor.serial = "S-1";
    descriptor.reportSize = ReportSize;
    descriptor.strings = {{1, "Maker"}, {4, "Extra text"}};
    return descriptor;
}

class VirtualHidBusTest : public ::testing::Test {
protected:
    void SetUp() override { startBus(0us); }

    void startBus(std::chrono::microseconds usbFrame)
    {
        thread.reset();
        bus = std::make_unique<sim::VirtualHidBus>(directory.path());
        bus->addDevice("dev1", cradleDescriptor(), model, usbFrame);
        bus->plug("dev1");
        thread = std::make_unique<sim::BusThread>(bus->loop());
    }

    void TearDown() override
    {
        thread->call([&] { bus->removeDevice("dev1"); });
        thread.reset();
        bus.reset();
    }

    std::filesystem::path socket() const { return directory.path() / "dev1.sock"; }

    std::unique_ptr<RawBusClient> openClient(std::uint8_t mode = RawBusClient::Shared)
    {
        auto client = std::make_unique<RawBusClient>(socket());
        EXPECT_EQ(client->open(mode), std::optional<std::uint8_t>(0x00));
        return client;
    }

    void sendFromModel(std::vector<Bytes> reports)
    {
        thread->call([&] {
            for (auto& item : reports) {
                model.toSend.push_back(item);
            }
        });
    }

    std::size_t openConnections()
    {
        return thread->call([&] { return bus->device("dev1").openConnectionCount(); });
    }

    qzr::test::TemporaryDirectory directory;
    RecordingModel model;
    std::unique_ptr<sim::VirtualHidBus> bus;
    std::unique_ptr<sim::BusThread> thread;
};

TEST_F(VirtualHidBusTest, DescriptorFileHoldsTheKeysAndNothingIsLeftAside)
{
    std::ifstream file(directory.path() / "dev1.dev");
    std::map<std::string, std::string> keys;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        auto equals = line.find('=');
        ASSERT_NE(equals, std::string::npos) << line;
        keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
    auto number = [&](const std::string& key) {
        return std::strtoul(keys[key].c_str(), nullptr, 0);
    };
    EXPECT_EQ(number("vid"), 0x3A7Cu);
    EXPECT_EQ(number("pid"), 0x0046u);
    EXPECT_EQ(number("version"), 0x0123u);
    EXPECT_EQ(keys["version"].substr(0, 2), "0x");
    EXPECT_EQ(number("report_size"), ReportSize);
    EXPECT_EQ(keys["manufacturer"], "Maker");
    EXPECT_EQ(keys["product"], "Thing");
    EXPECT_EQ(keys["serial"], "S-1");
    EXPECT_EQ(keys["string.1"], "Maker");
    EXPECT_EQ(keys["string.4"], "Extra text");

    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(directory.path())) {
        entries.push_back(entry.path().filename());
    }
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"dev1.dev", "dev1.sock"}));
}

TEST(DeviceDescriptorText, LeavesOutStringsTheDeviceDoesNotHave)
{
    sim::DeviceDescriptor descriptor;
    descriptor.reportSize = 64;
    std::string text = sim::descriptorText(descriptor);
    EXPECT_EQ(text.find("manufacturer"), std::string::npos);
    EXPECT_EQ(text.find("serial"), std::string::npos);
    EXPECT_NE(text.find("report_size=64\n"), std::string::npos);
}

TEST(DeviceDescriptorText, RefusesWhatTheFileCannotCarry)
{
    sim::DeviceDescriptor lineBreak;
    lineBreak.product = "two\nlines";
    EXPECT_THROW(sim::validateDescriptor(lineBreak), std::invalid_argument);
    sim::DeviceDescriptor noReport;
    noReport.reportSize = 0;
    EXPECT_THROW(sim::validateDescriptor(noReport), std::invalid_argument);
}

TEST(DeviceNames, AcceptOnlyLettersDigitsUnderscoreAndDash)
{
    for (const char* good : {"a", "Cradle_1", "hid-2", "0"}) {
        EXPECT_TRUE(sim::isValidDeviceName(good)) << good;
    }
    for (const char* bad : {"", "a.b", "a/b", "a b", "..", "x\n", "caf\xc3\xa9"}) {
        EXPECT_FALSE(sim::isValidDeviceName(bad)) << bad;
    }
}

struct OpenCase {
    std::uint8_t first;
    std::uint8_t second;
    std::uint8_t expected;
};

class OpenSemantics : public VirtualHidBusTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenSemantics, SecondOpenIsAnsweredByTheSharingRules)
{
    auto first = openClient(GetParam().first);
    RawBusClient second(socket());
    EXPECT_EQ(second.open(GetParam().second), std::optional<std::uint8_t>(GetParam().expected));
    if (GetParam().expected != 0x00) {
        EXPECT_TRUE(second.waitForEndOfFile());
        // The refusal leaves the first opener's connection as it was.
        EXPECT_EQ(openConnections(), 1u);
        first.reset();
        ASSERT_TRUE(qzr::test::WaitFor([&] { return openConnections() == 0; }));
        RawBusClient third(socket());
        EXPECT_EQ(third.open(GetParam().second), std::optional<std::uint8_t>(0x00));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, OpenSemantics,
    ::testing::Values(OpenCase{RawBusClient::Shared, RawBusClient::Shared, 0x00},
                      OpenCase{RawBusClient::Exclusive, RawBusClient::Shared, 0x01},
                      OpenCase{RawBusClient::Shared, RawBusClient::Exclusive, 0x01},
                      OpenCase{RawBusClient::Exclusive, RawBusClient::Exclusive, 0x01}));

TEST_F(VirtualHidBusTest, MalformedOpenRequestIsRefusedForAnotherReason)
{
    for (Bytes request : {Bytes{0x03}, Bytes{0x00}, Bytes{0x01, 0x01}}) {
        RawBusClient client(socket());
        ASSERT_TRUE(client.send(request));
        EXPECT_EQ(client.receive(), std::optional<Bytes>(Bytes{0x02}));
        EXPECT_TRUE(client.waitForEndOfFile());
    }
    EXPECT_EQ(openConnections(), 0u);
}

TEST_F(VirtualHidBusTest, OpenBeyondTheConnectionLimitIsRefusedForAnotherReason)
{
    std::vector<std::unique_ptr<RawBusClient>> clients;
    for (std::size_t i = 0; i < sim::BusDevice::MaxConnections; ++i) {
        clients.push_back(openClient());
    }
    for (std::uint8_t mode : {RawBusClient::Shared, RawBusClient::Exclusive}) {
        RawBusClient refused(socket());
        EXPECT_EQ(refused.open(mode),
                  std::optional<std::uint8_t>(mode == RawBusClient::Shared ? 0x02 : 0x01));
        EXPECT_TRUE(refused.waitForEndOfFile());
    }
    clients.pop_back();
    ASSERT_TRUE(qzr::test::WaitFor([&] { return openConnections() == clients.size(); }));
    clients.push_back(openClient());
}

TEST_F(VirtualHidBusTest, ReportOfTheWrongSizeClosesOnlyThatConnection)
{
    auto bystander = openClient();
    for (std::size_t size : {std::size_t{1}, ReportSize, ReportSize + 2, std::size_t{200}}) {
        auto client = openClient();
        ASSERT_TRUE(client->send(Bytes(size, 0x07)));
        EXPECT_TRUE(client->waitForEndOfFile()) << size;
    }
    ASSERT_TRUE(bystander->send(report(0x42)));
    ASSERT_TRUE(qzr::test::WaitFor([&] { return model.receivedReports().size() == 1; }));
    EXPECT_EQ(model.receivedReports()[0], report(0x42));
    EXPECT_EQ(openConnections(), 1u);
}

TEST_F(VirtualHidBusTest, EveryOpenConnectionGetsItsOwnCopyOfEachInputReport)
{
    std::vector<std::unique_ptr<RawBusClient>> clients;
    clients.push_back(openClient());
    clients.push_back(openClient());
    clients.push_back(openClient());
    RawBusClient notOpened(socket());
    ASSERT_TRUE(qzr::test::WaitFor([&] { return openConnections() == 3; }));

    sendFromModel({report(1), report(2)});
    for (auto& client : clients) {
        EXPECT_EQ(client->receive(), std::optional<Bytes>(report(1)));
        EXPECT_EQ(client->receive(), std::optional<Bytes>(report(2)));
    }
    EXPECT_EQ(notOpened.receive(50ms), std::nullopt);
}

TEST_F(VirtualHidBusTest, ClientThatDoesNotReadLosesReportsWithoutSlowingOthers)
{
    auto sleeper = openClient();
    auto reader = openClient();
    constexpr int Reports = 5000;
    int received = 0;
    for (int batch = 0; batch < Reports / 100; ++batch) {
        std::vector<Bytes> reports;
        for (int i = 0; i < 100; ++i) {
            reports.push_back(
                report(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(batch)));
        }
        sendFromModel(reports);
        while (received < (batch + 1) * 100) {
            ASSERT_TRUE(reader->receive().has_value()) << "after " << received;
            ++received;
        }
    }
    int kept = 0;
    while (sleeper->receive(10ms)) {
        ++kept;
    }
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, Reports);
    EXPECT_EQ(openConnections(), 2u);
}

// The entry events of `directory` (inotify masks `events`) while `action`
// runs, in order, each as its kind and the entry's name.
template <typename Action>
std::vector<std::pair<std::uint32_t, std::string>>
entryEventsDuring(const std::filesystem::path& directory, std::uint32_t events, Action action)
{
    sim::UniqueFd watcher(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    EXPECT_GE(::inotify_add_watch(watcher.get(), directory.c_str(), events), 0);
    action();
    std::vector<std::pair<std::uint32_t, std::string>> seen;
    alignas(inotify_event) char buffer[4096];
    ssize_t length;
    while ((length = ::read(watcher.get(), buffer, sizeof buffer)) > 0) {
        for (char* at = buffer; at < buffer + length;) {
            auto* event = reinterpret_cast<inotify_event*>(at);
            seen.emplace_back(event->mask & events, event->name);
            at += sizeof(inotify_event) + event->len;
        }
    }
    return seen;
}

// Names of the entries deleted from `directory` while `action` runs, in order.
template <typename Action>
std::vector<std::string> deletionsDuring(const std::filesystem::path& directory, Action action)
{
    std::vector<std::string> names;
    for (auto& [kind, name] : entryEventsDuring(directory, IN_DELETE, action)) {
        names.push_back(std::move(name));
    }
    return names;
}

TEST_F(VirtualHidBusTest, PlugRenamesAFinishedDescriptorIntoPlaceBeforeTheSocketAppears)
{
    RecordingModel other;
    auto events = entryEventsDuring(directory.path(), IN_CREATE | IN_MOVED_TO, [&] {
        thread->call([&] {
            bus->addDevice("dev2", cradleDescriptor(), other, 0us);
            bus->plug("dev2");
        });
    });
    thread->call([&] { bus->removeDevice("dev2"); });
    auto at = [&](std::uint32_t kind, const std::string& name) {
        return std::find(events.begin(), events.end(), std::pair{kind, name}) - events.begin();
    };
    const auto size = static_cast<std::ptrdiff_t>(events.size());
    EXPECT_EQ(at(IN_CREATE, "dev2.dev"), size) << "the descriptor was written in place";
    EXPECT_LT(at(IN_MOVED_TO, "dev2.dev"), size);
    EXPECT_LT(at(IN_MOVED_TO, "dev2.dev"), at(IN_CREATE, "dev2.sock"));
    EXPECT_LT(at(IN_CREATE, "dev2.sock"), size);
}

TEST_F(VirtualHidBusTest, UnplugRemovesTheSocketFirstAndEndsEveryConnection)
{
    auto first = openClient();
    auto second = openClient(RawBusClient::Shared);
    auto names =
        deletionsDuring(directory.path(), [&] { thread->call([&] { bus->unplug("dev1"); }); });
    EXPECT_EQ(names, (std::vector<std::string>{"dev1.sock", "dev1.dev"}));
    EXPECT_TRUE(first->waitForEndOfFile());
    EXPECT_TRUE(second->waitForEndOfFile());
    EXPECT_FALSE(first->send(report(1)));
    EXPECT_THROW(RawBusClient{socket()}, std::runtime_error);
    EXPECT_EQ(model.pluggedEvents, (std::vector<bool>{true, false}));

    thread->call([&] { bus->plug("dev1"); });
    auto again = openClient(RawBusClient::Exclusive);
    sendFromModel({report(9)});
    EXPECT_EQ(again->receive(), std::optional<Bytes>(report(9)));
}

TEST_F(VirtualHidBusTest, ModelThatAsksToReenumerateLeavesAndComesBack)
{
    auto client = openClient();
    ASSERT_TRUE(client->send(report(0xEE)));
    EXPECT_TRUE(client->waitForEndOfFile());
    ASSERT_TRUE(qzr::test::WaitFor([&] { return std::filesystem::exists(socket()); }));
    EXPECT_TRUE(thread->call([&] { return bus->device("dev1").plugged(); }));
    auto fresh = openClient(RawBusClient::Exclusive);
    ASSERT_TRUE(fresh->send(report(0x01)));
    ASSERT_TRUE(qzr::test::WaitFor([&] { return model.receivedReports().size() == 2; }));
    EXPECT_EQ(model.pluggedEvents, (std::vector<bool>{true, false, true}));
}

TEST_F(VirtualHidBusTest, NameServedByAnotherLiveServerIsRefused)
{
    RecordingModel other;
    sim::VirtualHidBus second(directory.path());
    second.addDevice("dev1", cradleDescriptor(), other, 0us);
    EXPECT_THROW(second.plug("dev1"), std::runtime_error);
    EXPECT_TRUE(std::filesystem::exists(socket()));
    EXPECT_TRUE(std::filesystem::exists(directory.path() / "dev1.dev"));
}

TEST_F(VirtualHidBusTest, SocketLeftBehindByADeadServerIsReplaced)
{
    {
        sim::UniqueFd dead(::socket(AF_UNIX, SOCK_SEQPACKET, 0));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::string path = (directory.path() / "ghost.sock").native();
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        ASSERT_EQ(::bind(dead.get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    }
    RecordingModel ghost;
    thread->call([&] {
        bus->addDevice("ghost", cradleDescriptor(), ghost, 0us);
        bus->plug("ghost");
    });
    RawBusClient client(directory.path() / "ghost.sock");
    EXPECT_EQ(client.open(RawBusClient::Shared), std::optional<std::uint8_t>(0x00));
    thread->call([&] { bus->removeDevice("ghost"); });
}

TEST(VirtualHidBusDevices, RefuseBadNamesAndDuplicates)
{
    qzr::test::TemporaryDirectory directory;
    sim::VirtualHidBus bus(directory.path());
    RecordingModel model;
    for (const char* bad : {"", "a.b", "../up", "x y"}) {
        EXPECT_THROW(bus.addDevice(bad, cradleDescriptor(), model, 0us), std::invalid_argument)
            << bad;
    }
    bus.addDevice("one", cradleDescriptor(), model, 0us);
    EXPECT_THROW(bus.addDevice("one", cradleDescriptor(), model, 0us), std::invalid_argument);
    EXPECT_THROW(bus.addDevice(std::string(200, 'n'), cradleDescriptor(), model, 0us),
                 std::invalid_argument);
}

// Asks to be ticked on every turn of the loop.
class EagerModel : public sim::DeviceModel {
public:
    void onOutputReport(std::span<const std::uint8_t>, sim::TimePoint, sim::DeviceHost&) override {}
    void onTick(sim::TimePoint, sim::DeviceHost&) override { ++ticks; }
    sim::TimePoint nextTick() const override { return sim::TimePoint::min(); }
    int ticks = 0;
};

TEST(BusDeviceTicks, ModelAskingForEveryTurnIsTickedOnceAMillisecondWhileNobodyListens)
{
    qzr::test::TemporaryDirectory directory;
    sim::EventLoop loop;
    EagerModel model;
    sim::BusDevice device(loop, directory.path(), "dev1", cradleDescriptor(), model, 0us);
    device.plug();
    const sim::TimePoint start = sim::Clock::now();
    EXPECT_EQ(device.runDue(start), start + 1ms);
    EXPECT_EQ(device.runDue(start + 500us), start + 1ms);
    EXPECT_EQ(device.runDue(start + 1ms), start + 2ms);
    EXPECT_EQ(model.ticks, 2);
}

class PacedBusTest : public VirtualHidBusTest {
protected:
    static constexpr std::chrono::microseconds Frame{1000};
    void SetUp() override { startBus(Frame); }

    static auto frameOf(sim::TimePoint time) { return time.time_since_epoch() / Frame; }
};

TEST_F(PacedBusTest, OutputReportsWaitForTheirFramesWithoutLossOrReordering)
{
    auto client = openClient();
    constexpr int Reports = 100; // far beyond the device's queue: the writer must wait
    for (int i = 0; i < Reports; ++i) {
        ASSERT_TRUE(client->send(report(static_cast<std::uint8_t>(i))));
    }
    ASSERT_TRUE(qzr::test::WaitFor([&] { return model.receivedReports().size() == Reports; }));
    std::lock_guard lock(model.mutex);
    for (int i = 0; i < Reports; ++i) {
        EXPECT_EQ(model.received[static_cast<std::size_t>(i)][1], i);
    }
    for (std::size_t i = 1; i < Reports; ++i) {
        EXPECT_GT(frameOf(model.arrivals[i]), frameOf(model.arrivals[i - 1])) << i;
    }
}

TEST_F(PacedBusTest, InputReportsProducedTogetherLeaveOnePerFrame)
{
    auto client = openClient();
    auto asked = sim::Clock::now();
    sendFromModel({report(1), report(2), report(3), report(4)});
    for (std::uint8_t i = 1; i <= 4; ++i) {
        EXPECT_EQ(client->receive(), std::optional<Bytes>(report(i)));
    }
    // The first goes in the current frame, the last three frames later.
    EXPECT_GE(sim::Clock::now() - asked, 2 * Frame);
}

} // namespace
