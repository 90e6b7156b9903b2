// The SPI link with the real bridge library against a bridge chip that names
// a larger transaction than the link's buffers hold: the library refuses the
// transfer before any data moves (the sanitizers watch the buffers), and the
// link takes its usual error path.
#include "FakeLinkEndpoint.h"
#include "cradle/ConnectionError.h"
#include "cradle/SpiLink.h"
#include "cradle/VexaBridge.h"
#include "support/BusFixture.h"
#include "support/SizeFaultyBridge.h"

#include <chrono>
#include <memory>
#include <vector>

namespace qzr::test {
namespace {

using namespace std::chrono_literals;
using vexatest::SizeFault;

std::size_t chunkCount(const std::vector<vexatest::Command>& commands)
{
    return static_cast<std::size_t>(
        std::count_if(commands.begin(), commands.end(),
                      [](const vexatest::Command& command) { return command[0] == 0x42; }));
}

class SpiLinkFaultyChipTest : public vexatest::BusFixture {
protected:
    vexatest::ScriptedBusDevice& addFaultyBridge()
    {
        return addBridge("bridge", vexatest::sizeFaultyBridge({}, fault));
    }

    std::shared_ptr<SizeFault> fault = std::make_shared<SizeFault>();
    TFakeLinkEndpoint endpoint;
    TVexaBridge bridge;
    std::vector<bool> timerSwitches;
    TSpiLink link{endpoint, bridge, [this](bool on) { timerSwitches.push_back(on); },
                  vexatest::bridgeVid, vexatest::bridgePid};
};

TEST_F(SpiLinkFaultyChipTest, ConnectRefusesAChipThatNamesMoreThanTheOneSetUpByte)
{
    const SizeFault faults[] = {{64, {}}, {{}, 64}, {0xFFFF, {}}};
    for (const SizeFault& f : faults) {
        SCOPED_TRACE(f.applied ? "applies " + std::to_string(*f.applied)
                               : "reports " + std::to_string(*f.reported));
        *fault = f;
        auto& device = addFaultyBridge();
        try {
            link.Connect();
            ADD_FAILURE() << "no exception";
        } catch (const EConnectionError& e) {
            EXPECT_STREQ(e.what(), "Connection error: -1");
        }
        EXPECT_FALSE(link.Connected());
        EXPECT_EQ(chunkCount(device.commands()), 0u);
        EXPECT_TRUE(device.waitForOpenConnections(0, 2s)) << "the bridge was not closed";
        EXPECT_TRUE(timerSwitches.empty());
        TearDown();
        SetUp();
    }
}

TEST_F(SpiLinkFaultyChipTest, PollOfAChipThatAppliesALargerSizeDisconnectsSilently)
{
    auto& device = addFaultyBridge();
    link.Connect();
    ASSERT_TRUE(link.Connected());
    int lost = 0;
    link.OnLinkLost = [&] { ++lost; };
    endpoint.onCradle = true;
    const std::size_t before = device.commands().size();

    // The poll wants its 32 bytes; the chip claims to have applied 4000.
    *fault = SizeFault{4000, {}};
    EXPECT_NO_THROW(link.Poll());
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(link.Connected());
    EXPECT_EQ(link.MCDeviceHandle(), nullptr);
    EXPECT_EQ(timerSwitches, (std::vector<bool>{true, false}));
    EXPECT_FALSE(TSpiLink::SpiBusy());
    EXPECT_TRUE(endpoint.received.empty());
    const auto commands = device.commands();
    EXPECT_EQ(chunkCount({commands.begin() + static_cast<std::ptrdiff_t>(before), commands.end()}),
              0u);
    EXPECT_TRUE(device.waitForOpenConnections(0, 2s)) << "the bridge was not closed";
}

TEST_F(SpiLinkFaultyChipTest, PollOfAChipThatBehavesTakesItsThirtyTwoBytes)
{
    addFaultyBridge();
    link.Connect();
    endpoint.onCradle = true;
    link.Poll();
    EXPECT_TRUE(link.Connected());
    // The chip echoes the 32 idle bytes.
    EXPECT_EQ(endpoint.received, std::vector<std::uint8_t>(32, 0xA5));
}

} // namespace
} // namespace qzr::test
