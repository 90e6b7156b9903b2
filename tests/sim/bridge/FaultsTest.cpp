// Faults on demand: busy, refused and short transfers, and a noisy SPI line.
#include <bit>
#include <vector>

#include <gtest/gtest.h>

#include "BridgeChipTestSupport.h"

namespace {

using namespace bridge_test;
using namespace sim::vexa;
using namespace std::chrono_literals;

struct TransferFaultCase {
    const char* name;
    sim::BridgeChipFaults faults;
    HostTransfer::Outcome outcome;
    std::size_t received;
};

class TransferFaults : public ::testing::TestWithParam<TransferFaultCase> {};

TEST_P(TransferFaults, EndTheHostsTransferAsTheFaultDictates)
{
    const TransferFaultCase& c = GetParam();
    sim::VexaBridgeChip chip;
    ScriptedPeripheral unit;
    chip.placePeripheral(unit);
    sim::SpiTransferSettings settings = chip.currentSpiSettings();
    settings.txferSize = 8;
    roundTrip(chip, spiSettingsCommand(cmd::SetSpiSettings, settings));
    chip.setFaults(c.faults);

    const std::vector<std::uint8_t> tx(8, 0x11);
    const HostTransfer result = runHostTransfer(chip, tx);

    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.received.size(), c.received);
    if (c.outcome == HostTransfer::Outcome::GaveUp) {
        EXPECT_EQ(result.busyAnswers, 200u);
        EXPECT_GE(result.elapsed, 200 * 26ms);
    }
}

sim::BridgeChipFaults busy()
{
    sim::BridgeChipFaults faults;
    faults.busyEveryChunk = true;
    return faults;
}

sim::BridgeChipFaults refusing()
{
    sim::BridgeChipFaults faults;
    faults.refuseTransfers = true;
    return faults;
}

sim::BridgeChipFaults finishingAfter(std::uint32_t bytes)
{
    sim::BridgeChipFaults faults;
    faults.finishAfterBytes = bytes;
    return faults;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TransferFaults,
    ::testing::Values(
        TransferFaultCase{"None", {}, HostTransfer::Outcome::Done, 8},
        TransferFaultCase{"BusyEveryChunk", busy(), HostTransfer::Outcome::GaveUp, 0},
        TransferFaultCase{"Refused", refusing(), HostTransfer::Outcome::Refused, 0},
        TransferFaultCase{"FinishEarly", finishingAfter(5), HostTransfer::Outcome::Short, 5},
        TransferFaultCase{"FinishAfterAll", finishingAfter(8), HostTransfer::Outcome::Done, 8}),
    [](const auto& info) { return info.param.name; });

TEST(RefusedTransfers, ShowAnExternalMasterAsTheBusOwner)
{
    sim::VexaBridgeChip chip;
    chip.setFaults(refusing());
    EXPECT_EQ(roundTrip(chip, {cmd::SpiTransfer, 1, 0, 0, 0})[1], status::TransferRefused);
    EXPECT_EQ(roundTrip(chip, {cmd::Status})[3], 2);
}

struct LineRun {
    std::vector<std::uint8_t> sentByUnit;
    std::vector<std::uint8_t> readByHost;
    std::vector<std::uint8_t> receivedByUnit;
};

LineRun runNoisyLine(double corruptRate, double dropRate, std::uint32_t seed)
{
    sim::VexaBridgeChip chip;
    ScriptedPeripheral unit;
    chip.placePeripheral(unit);
    sim::BridgeChipFaults faults;
    faults.corruptRate = corruptRate;
    faults.dropRate = dropRate;
    faults.seed = seed;
    chip.setFaults(faults);
    LineRun run;
    for (int i = 0; i < 64; ++i)
        run.sentByUnit.push_back(static_cast<std::uint8_t>(0x80 + i));
    unit.toSend.assign(run.sentByUnit.begin(), run.sentByUnit.end());

    const std::vector<std::uint8_t> tx(32, 0x3C);
    run.readByHost = runHostTransfer(chip, tx).received;
    run.receivedByUnit = unit.received;
    return run;
}

TEST(NoisyLine, CorruptionFlipsExactlyOneBitOfEveryByteEachWay)
{
    const LineRun run = runNoisyLine(1.0, 0.0, 7);
    ASSERT_EQ(run.readByHost.size(), 32u);
    ASSERT_EQ(run.receivedByUnit.size(), 32u);
    for (std::size_t i = 0; i < 32; ++i) {
        EXPECT_EQ(std::popcount(static_cast<unsigned>(run.readByHost[i] ^ run.sentByUnit[i])), 1);
        EXPECT_EQ(std::popcount(static_cast<unsigned>(run.receivedByUnit[i] ^ 0x3C)), 1);
    }
}

TEST(NoisyLine, DroppingLosesEveryByteToTheUnitAndSkipsEveryOtherByteFromIt)
{
    const LineRun run = runNoisyLine(0.0, 1.0, 7);
    EXPECT_TRUE(run.receivedByUnit.empty());
    ASSERT_EQ(run.readByHost.size(), 32u);
    for (std::size_t i = 0; i < 32; ++i)
        EXPECT_EQ(run.readByHost[i], run.sentByUnit[2 * i + 1]);
}

TEST(NoisyLine, TheSameSeedGivesTheSameFaults)
{
    const LineRun first = runNoisyLine(0.2, 0.2, 42);
    const LineRun again = runNoisyLine(0.2, 0.2, 42);
    EXPECT_EQ(first.readByHost, again.readByHost);
    EXPECT_EQ(first.receivedByUnit, again.receivedByUnit);
    EXPECT_NE(first.readByHost,
              std::vector<std::uint8_t>(first.sentByUnit.begin(), first.sentByUnit.begin() + 32));
}

} // namespace
