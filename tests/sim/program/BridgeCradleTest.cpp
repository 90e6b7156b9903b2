#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "BridgeLinkClient.h"
#include "HidLinkClient.h"
#include "RawBusClient.h"
#include "sim/program/Simulator.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WaitFor.h"

namespace {

using simtest::BridgeLinkClient;
using simtest::Bytes;
using simtest::HidLinkClient;
using simtest::RawBusClient;
using namespace std::chrono_literals;

constexpr std::uint8_t GetSpiSettings = 0x41;
constexpr std::uint8_t SpiTransfer = 0x42;
constexpr std::uint8_t WriteNvram = 0x60;
constexpr std::uint8_t UsbKey = 0x30;

std::string descriptorValue(const std::filesystem::path& file, const std::string& key)
{
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with(key + "=")) {
            return line.substr(key.size() + 1);
        }
    }
    return {};
}

class BridgeCradleTest : public ::testing::Test {
protected:
    BridgeCradleTest() : simulator(directory.path(), options()) { simulator.addBridgeCradle("b1"); }

    static sim::SimulatorOptions options()
    {
        auto fast = sim::SimulatorOptions::fast();
        fast.reenumerationTime = 50ms;
        return fast;
    }

    std::unique_ptr<RawBusClient> open()
    {
        auto client = std::make_unique<RawBusClient>(simulator.devicePath("b1"));
        EXPECT_EQ(client->open(RawBusClient::Exclusive), std::optional<std::uint8_t>(0x00));
        return client;
    }

    std::uint32_t bitRate(BridgeLinkClient& link)
    {
        auto response = link.command({GetSpiSettings});
        return response ? (*response)[4] | ((*response)[5] << 8) | ((*response)[6] << 16) : 0;
    }

    qzr::test::TemporaryDirectory directory;
    sim::Simulator simulator;
};

TEST_F(BridgeCradleTest, DescriptorCarriesTheBridgeIdentityAndSerialNumber)
{
    auto file = directory.path() / "b1.dev";
    EXPECT_EQ(std::strtoul(descriptorValue(file, "pid").c_str(), nullptr, 0), 0x0146u);
    EXPECT_EQ(descriptorValue(file, "serial"), "VX00000001");
    EXPECT_EQ(descriptorValue(file, "report_size"), "64");
    simulator.addBridgeCradle("b2");
    EXPECT_EQ(descriptorValue(directory.path() / "b2.dev", "serial"), "VX00000002");
}

TEST_F(BridgeCradleTest, ResetLeavesTheBusAndComesBackUnderTheStoredUsbIdentity)
{
    auto client = open();
    BridgeLinkClient link(*client);
    // Store another product ID, then reset the chip.
    auto stored = link.command({WriteNvram, UsbKey, 0, 0, 0x7C, 0x3A, 0x47, 0x01, 0x80, 50});
    ASSERT_TRUE(stored);
    EXPECT_EQ((*stored)[1], 0x00);
    ASSERT_TRUE(client->send([] {
        Bytes reset(65, 0);
        reset[1] = 0xF0;
        reset[2] = 0xAB;
        reset[3] = 0xCD;
        return reset;
    }()));
    EXPECT_TRUE(client->waitForEndOfFile());
    ASSERT_TRUE(
        qzr::test::WaitFor([&] { return std::filesystem::exists(simulator.devicePath("b1")); }));
    EXPECT_EQ(std::strtoul(descriptorValue(directory.path() / "b1.dev", "pid").c_str(), nullptr, 0),
              0x0147u);
    auto again = open();
    BridgeLinkClient fresh(*again);
    EXPECT_EQ(bitRate(fresh), 4000u);
}

TEST_F(BridgeCradleTest, PullingTheCradleOutRestoresThePowerUpSettings)
{
    auto client = open();
    BridgeLinkClient link(*client);
    ASSERT_TRUE(link.setSpiSettings(8000, 32));
    EXPECT_EQ(bitRate(link), 8000u);
    simulator.unplug("b1");
    EXPECT_TRUE(client->waitForEndOfFile());
    simulator.plug("b1");
    auto again = open();
    BridgeLinkClient fresh(*again);
    EXPECT_EQ(bitRate(fresh), 4000u);
}

TEST_F(BridgeCradleTest, BusyAndSilentFaultsReachTheChip)
{
    auto client = open();
    BridgeLinkClient link(*client);
    ASSERT_TRUE(link.setSpiSettings(4000, 32));
    simulator.setBridgeBusy("b1", true);
    auto busy = link.command({SpiTransfer, 1, 0, 0, 0xA5});
    ASSERT_TRUE(busy);
    EXPECT_EQ((*busy)[1], 0xF8);
    simulator.setBridgeBusy("b1", false);
    simulator.setCradleSilent("b1", true);
    EXPECT_FALSE(link.command({GetSpiSettings}, 200ms));
    simulator.setCradleSilent("b1", false);
    EXPECT_EQ(bitRate(link), 4000u);
}

struct SilenceCase {
    const char* name;
    std::function<void(sim::Simulator&, const std::string&)> fault;
};

class UnitSilence : public ::testing::TestWithParam<SilenceCase> {};

// Whatever spoils the link, the unit's identification does not come back.
TEST_P(UnitSilence, IdentificationGoesUnansweredOnBothCradleKinds)
{
    qzr::test::TemporaryDirectory directory;
    sim::Simulator simulator(directory.path(), sim::SimulatorOptions::fast());
    simulator.addHidCradle("h1");
    simulator.addBridgeCradle("b1");
    simulator.placeUnit("h1", sim::UnitSpec::demo(0x1111));
    simulator.placeUnit("b1", sim::UnitSpec::demo(0x2222));
    GetParam().fault(simulator, "h1");
    GetParam().fault(simulator, "b1");

    RawBusClient hidClient(simulator.devicePath("h1"));
    ASSERT_EQ(hidClient.open(RawBusClient::Shared), std::optional<std::uint8_t>(0x00));
    HidLinkClient hid(hidClient);
    ASSERT_TRUE(hid.waitForPresence(true));
    ASSERT_TRUE(hid.sendMessage({0x00}));
    EXPECT_FALSE(hid.receiveMessage(500));

    RawBusClient bridgeClient(simulator.devicePath("b1"));
    ASSERT_EQ(bridgeClient.open(RawBusClient::Exclusive), std::optional<std::uint8_t>(0x00));
    BridgeLinkClient bridge(bridgeClient);
    ASSERT_TRUE(bridge.sendMessage({0x00}));
    EXPECT_FALSE(bridge.receiveMessage(20));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, UnitSilence,
    ::testing::Values(
        SilenceCase{"Muted", [](auto& s, const auto& c) { s.setUnitSilent(c, true); }},
        SilenceCase{"AllBytesLost", [](auto& s, const auto& c) { s.setDropRate(c, 1.0); }},
        SilenceCase{"AllBytesCorrupted",
                    [](auto& s, const auto& c) { s.setCorruptionRate(c, 1.0); }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
