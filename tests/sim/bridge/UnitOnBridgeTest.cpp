// The readout unit behind the chip's SPI bus: presence bytes and a handshake
// frame carried by SPI transfers.
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "BridgeChipTestSupport.h"
#include "sim/bridge/UnitOnSpiBus.h"
#include "sim/unit/Zt46Unit.h"

namespace {

using namespace bridge_test;
using namespace sim::vexa;
using namespace std::chrono_literals;

constexpr std::uint8_t Fill = 0xA5;
const sim::UnitIdentity Identity{0x00C0FFEE, 1, 0x14, 0x0203};

std::vector<std::uint8_t> pollBytes(sim::VexaBridgeChip& chip, std::vector<std::uint8_t> tx)
{
    tx.resize(std::max<std::size_t>(tx.size(), 32), Fill);
    sim::SpiTransferSettings settings = chip.currentSpiSettings();
    settings.txferSize = static_cast<std::uint16_t>(tx.size());
    roundTrip(chip, spiSettingsCommand(cmd::SetSpiSettings, settings));
    const HostTransfer result = runHostTransfer(chip, tx);
    EXPECT_EQ(result.outcome, HostTransfer::Outcome::Done);
    return result.received;
}

struct PresenceCase {
    bool unitPlaced;
    std::uint8_t idleLevel;
    std::uint8_t expected;
};

class Presence : public ::testing::TestWithParam<PresenceCase> {};

TEST_P(Presence, APlacedUnitWithNothingToSendAnswersFillElseTheLineReadsItsIdleLevel)
{
    const PresenceCase& c = GetParam();
    sim::Zt46Unit unit(Identity);
    sim::UnitOnSpiBus wiring(unit);
    sim::VexaBridgeChip chip;
    chip.setIdleLineLevel(c.idleLevel);
    if (c.unitPlaced)
        chip.placePeripheral(wiring);

    EXPECT_EQ(pollBytes(chip, {}), std::vector<std::uint8_t>(32, c.expected));
}

INSTANTIATE_TEST_SUITE_P(Lines, Presence,
                         ::testing::Values(PresenceCase{true, 0x00, Fill},
                                           PresenceCase{true, 0xFF, Fill},
                                           PresenceCase{false, 0x00, 0x00},
                                           PresenceCase{false, 0xFF, 0xFF}));

TEST(UnitRemoval, TakesEffectInTheMiddleOfATransaction)
{
    sim::Zt46Unit unit(Identity);
    sim::UnitOnSpiBus wiring(unit);
    sim::VexaBridgeChip chip;
    chip.placePeripheral(wiring);
    roundTrip(chip, {cmd::SpiTransfer, 32});
    chip.advance(20ms);
    chip.removePeripheral();
    chip.advance(44ms);

    const Report finished = roundTrip(chip, {cmd::SpiTransfer, 0});
    ASSERT_EQ(finished[2], 32);
    std::vector<std::uint8_t> expected(10, Fill);
    expected.resize(32, 0xFF);
    EXPECT_EQ(std::vector<std::uint8_t>(finished.begin() + 4, finished.begin() + 36), expected);
}

// Unstuffs the first complete frame from the unit in `bytes`: DLE STX, message
// with every DLE doubled, 16-bit additive checksum (low byte first), DLE ETX.
std::optional<std::vector<std::uint8_t>> frameFromUnit(const std::vector<std::uint8_t>& bytes)
{
    constexpr std::uint8_t DLE = 0x10, STX = 0x02, ETX = 0x03;
    for (std::size_t start = 0; start + 1 < bytes.size(); ++start) {
        if (bytes[start] != DLE || bytes[start + 1] != STX)
            continue;
        std::vector<std::uint8_t> content;
        for (std::size_t i = start + 2; i + 1 < bytes.size(); ++i) {
            if (bytes[i] != DLE) {
                content.push_back(bytes[i]);
            } else if (bytes[i + 1] == DLE) {
                content.push_back(DLE);
                ++i;
            } else if (bytes[i + 1] == ETX && content.size() >= 2) {
                unsigned sum = 0;
                for (std::size_t k = 0; k + 2 < content.size(); ++k)
                    sum += content[k];
                const unsigned checksum =
                    content[content.size() - 2] | (content[content.size() - 1] << 8);
                if ((sum & 0xFFFF) != checksum)
                    return std::nullopt;
                content.resize(content.size() - 2);
                return content;
            } else {
                break;
            }
        }
    }
    return std::nullopt;
}

TEST(UnitHandshake, TheIdentifyFrameGoesOutAsSpiDataAndTheAnswerFrameComesBackAmongFillBytes)
{
    sim::Zt46Unit unit(Identity);
    sim::UnitOnSpiBus wiring(unit);
    sim::VexaBridgeChip chip;
    chip.placePeripheral(wiring);

    std::vector<std::uint8_t> received = pollBytes(chip, {0x10, 0x02, 0x00, 0xA5, 0x10, 0x03});
    std::optional<std::vector<std::uint8_t>> answer;
    for (int poll = 0; poll < 5 && !(answer = frameFromUnit(received)); ++poll) {
        const auto more = pollBytes(chip, {});
        received.insert(received.end(), more.begin(), more.end());
    }

    ASSERT_TRUE(answer) << "no answer frame in " << received.size() << " bytes";
    EXPECT_EQ(unit.framesAccepted(), 1u);
    const std::vector<std::uint8_t> expected = {0x00, 0xEE, 0xFF, 0xC0, 0x00, 1, 0x14, 0x03, 0x02};
    EXPECT_EQ(*answer, expected);
    EXPECT_EQ(received.front(), Fill) << "fill until the unit has something to send";
}

} // namespace
