#include <gtest/gtest.h>

#include "BridgeLinkClient.h"
#include "HidLinkClient.h"
#include "RawBusClient.h"
#include "sim/program/Simulator.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using simtest::BridgeLinkClient;
using simtest::Bytes;
using simtest::HidLinkClient;
using simtest::RawBusClient;
using namespace std::chrono_literals;

constexpr std::uint32_t Serial = 0x00A1B2C3;

Bytes littleEndian32(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// Identification and session start, as the program does it.
template <typename Link>
void expectHandshake(Link& link, std::uint32_t serial, std::uint8_t sessionId)
{
    ASSERT_TRUE(link.sendMessage({0x00}));
    auto identity = link.receiveMessage();
    ASSERT_TRUE(identity.has_value());
    ASSERT_GE(identity->size(), 9u);
    EXPECT_EQ((*identity)[0], 0x00);
    EXPECT_EQ(Bytes(identity->begin() + 1, identity->begin() + 5), littleEndian32(serial));

    Bytes session{0x01};
    auto serialBytes = littleEndian32(serial);
    session.insert(session.end(), serialBytes.begin(), serialBytes.end());
    session.push_back(sessionId);
    ASSERT_TRUE(link.sendMessage(session));
    auto confirmation = link.receiveMessage();
    ASSERT_TRUE(confirmation.has_value());
    ASSERT_GE(confirmation->size(), 6u);
    EXPECT_EQ((*confirmation)[0], 0x01);
    EXPECT_EQ(Bytes(confirmation->begin() + 2, confirmation->begin() + 6), serialBytes);
}

struct TimingCase {
    const char* name;
    sim::SimulatorOptions options;
};

class SimulatorHandshake : public ::testing::TestWithParam<TimingCase> {};

TEST_P(SimulatorHandshake, UnitOnAHidCradleAnswersIdentificationAndSession)
{
    qzr::test::TemporaryDirectory directory;
    sim::Simulator simulator(directory.path(), GetParam().options);
    simulator.addHidCradle("cradle1");
    simulator.placeUnit("cradle1", sim::UnitSpec::demo(Serial));

    RawBusClient client(simulator.devicePath("cradle1"));
    ASSERT_EQ(client.open(RawBusClient::Shared), std::optional<std::uint8_t>(0x00));
    HidLinkClient link(client);
    ASSERT_TRUE(link.waitForPresence(true));
    expectHandshake(link, Serial, 0x2A);

    bool inSession = false;
    std::uint8_t sessionId = 0;
    simulator.withUnit("cradle1", [&](sim::Zt46Unit& unit) {
        inSession = unit.inSession();
        sessionId = unit.sessionId();
    });
    EXPECT_TRUE(inSession);
    EXPECT_EQ(sessionId, 0x2A);
}

TEST_P(SimulatorHandshake, UnitOnABridgeCradleAnswersThroughSpiTransfersAt4000BitsPerSecond)
{
    qzr::test::TemporaryDirectory directory;
    sim::Simulator simulator(directory.path(), GetParam().options);
    simulator.addBridgeCradle("bridge1");
    RawBusClient client(simulator.devicePath("bridge1"));
    ASSERT_EQ(client.open(RawBusClient::Exclusive), std::optional<std::uint8_t>(0x00));
    BridgeLinkClient link(client);

    // Without a unit the data line reads idle; with one, the unit's fill byte.
    ASSERT_TRUE(link.setSpiSettings(4000, BridgeLinkClient::PollSize));
    ASSERT_TRUE(link.transfer(Bytes(BridgeLinkClient::PollSize, 0xA5)));
    ASSERT_TRUE(link.sendMessage({}));
    EXPECT_EQ(link.lastReceived(), Bytes(BridgeLinkClient::PollSize, 0xFF));
    simulator.placeUnit("bridge1", sim::UnitSpec::demo(Serial));
    ASSERT_TRUE(link.sendMessage({}));
    EXPECT_EQ(link.lastReceived(), Bytes(BridgeLinkClient::PollSize, 0xA5));

    expectHandshake(link, Serial, 0x07);
    std::uint8_t sessionId = 0;
    simulator.withUnit("bridge1", [&](sim::Zt46Unit& unit) { sessionId = unit.sessionId(); });
    EXPECT_EQ(sessionId, 0x07);
}

INSTANTIATE_TEST_SUITE_P(Timings, SimulatorHandshake,
                         ::testing::Values(TimingCase{"Realistic", sim::SimulatorOptions{}},
                                           TimingCase{"Fast", sim::SimulatorOptions::fast()}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
