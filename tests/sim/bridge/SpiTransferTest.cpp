// The SPI transfer engine behind command 0x42: timing, chunking, busy answers,
// chip select, and the settings commands that must wait for it.
#include <chrono>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "BridgeChipTestSupport.h"
#include "sim/bridge/ReportFields.h"

namespace {

using namespace bridge_test;
using namespace sim::vexa;
using namespace std::chrono_literals;

constexpr std::uint16_t Pin4 = 1u << 4;

void setTransfer(sim::VexaBridgeChip& chip, std::uint32_t bitRate, std::uint16_t size)
{
    sim::SpiTransferSettings settings = chip.currentSpiSettings();
    settings.bitRate = bitRate;
    settings.txferSize = size;
    ASSERT_EQ(roundTrip(chip, spiSettingsCommand(cmd::SetSpiSettings, settings))[1], status::Ok);
}

Report chunk(const std::vector<std::uint8_t>& data)
{
    Report command = makeCommand({cmd::SpiTransfer, static_cast<std::uint8_t>(data.size())});
    std::copy(data.begin(), data.end(), command.begin() + 4);
    return command;
}

Report poll(sim::VexaBridgeChip& chip)
{
    return roundTrip(chip, chunk({}));
}

std::vector<std::uint8_t> counting(std::size_t count, std::uint8_t first = 0)
{
    std::vector<std::uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

std::vector<std::uint8_t> dataOf(const Report& response)
{
    return {response.begin() + 4, response.begin() + 4 + response[2]};
}

struct Fixture : ::testing::Test {
    Fixture() { chip.placePeripheral(unit); }

    sim::VexaBridgeChip chip;
    ScriptedPeripheral unit;
};

using SpiTransfer = Fixture;

TEST_F(SpiTransfer, ThirtyTwoBytesAt4000BitPerSecondTake64MillisecondsWithPin4LowMeanwhile)
{
    setTransfer(chip, 4000, 32);
    const auto answers = counting(32, 0x40);
    unit.toSend.assign(answers.begin(), answers.end());

    const Report started = roundTrip(chip, chunk(counting(32)));
    EXPECT_EQ(started[1], status::Ok);
    EXPECT_EQ(started[3], xfer::Started);
    EXPECT_EQ(started[2], 0);
    EXPECT_EQ(chip.pinLevels() & Pin4, 0);
    EXPECT_EQ(chip.timeToNextEvent(), 64ms);

    chip.advance(63999us);
    EXPECT_EQ(unit.received.size(), 31u);
    EXPECT_EQ(poll(chip)[1], status::Busy);

    chip.advance(1us);
    EXPECT_EQ(chip.pinLevels() & Pin4, Pin4) << "chip select idle after the last byte";
    EXPECT_FALSE(chip.timeToNextEvent());
    const Report finished = poll(chip);
    EXPECT_EQ(finished[1], status::Ok);
    EXPECT_EQ(finished[3], xfer::Finished);
    EXPECT_EQ(dataOf(finished), answers);
    EXPECT_EQ(unit.received, counting(32));
    EXPECT_FALSE(chip.transactionOpen());
}

TEST_F(SpiTransfer, SixtyOneBytesGoAsAChunkOf60AndAChunkOf1WhichWaitsForTheBuffer)
{
    setTransfer(chip, 4000, 61);
    const auto tx = counting(61);

    EXPECT_EQ(roundTrip(chip, chunk({tx.begin(), tx.begin() + 60}))[3], xfer::Started);
    EXPECT_EQ(roundTrip(chip, chunk({tx.back()}))[1], status::Busy) << "buffer still full";

    chip.advance(120ms);
    const Report dataReady = roundTrip(chip, chunk({tx.back()}));
    EXPECT_EQ(dataReady[1], status::Ok);
    EXPECT_EQ(dataReady[3], xfer::DataReady);
    EXPECT_EQ(dataReady[2], 60);

    EXPECT_EQ(poll(chip)[1], status::Busy);
    chip.advance(2ms);
    const Report finished = poll(chip);
    EXPECT_EQ(finished[3], xfer::Finished);
    EXPECT_EQ(finished[2], 1);
    EXPECT_EQ(unit.received, tx) << "the refused chunk is clocked once, after it is taken";
}

TEST(SpiTransferHost, SendingChunksAndPollingGetsEveryByteBackWellWithinItsRounds)
{
    for (std::size_t size : {1u, 32u, 60u, 61u, 120u, 1025u}) {
        sim::VexaBridgeChip chip;
        ScriptedPeripheral unit;
        chip.placePeripheral(unit);
        setTransfer(chip, 4000, static_cast<std::uint16_t>(size));
        std::vector<std::uint8_t> tx(size);
        std::vector<std::uint8_t> answers(size);
        for (std::size_t i = 0; i < size; ++i) {
            tx[i] = static_cast<std::uint8_t>(i * 7);
            answers[i] = static_cast<std::uint8_t>(i * 3 + 1);
        }
        unit.toSend.assign(answers.begin(), answers.end());

        const HostTransfer result = runHostTransfer(chip, tx);

        EXPECT_EQ(result.outcome, HostTransfer::Outcome::Done) << size << " bytes";
        EXPECT_EQ(result.received, answers) << size << " bytes";
        EXPECT_EQ(unit.received, tx) << size << " bytes";
        EXPECT_GE(result.elapsed, std::chrono::milliseconds(2 * size));
        EXPECT_LT(result.rounds, 120u) << size << " bytes";
    }
}

struct ByteTimeCase {
    std::uint32_t bitRate;
    std::uint16_t bytes;
    std::chrono::microseconds duration;
};

class ByteTime : public ::testing::TestWithParam<ByteTimeCase> {};

TEST_P(ByteTime, ATransactionTakesEightBitTimesPerByteRoundedUpToTheMicrosecond)
{
    const ByteTimeCase& c = GetParam();
    sim::VexaBridgeChip chip;
    setTransfer(chip, c.bitRate, c.bytes);
    roundTrip(chip, chunk(counting(c.bytes)));
    EXPECT_EQ(chip.timeToNextEvent(), c.duration);

    chip.advance(c.duration - 1us);
    EXPECT_EQ(poll(chip)[1], status::Busy);
    chip.advance(1us);
    EXPECT_EQ(poll(chip)[3], xfer::Finished);
}

INSTANTIATE_TEST_SUITE_P(Rates, ByteTime,
                         ::testing::Values(ByteTimeCase{4000, 1, 2000us},
                                           ByteTimeCase{1500, 3, 16000us},
                                           ByteTimeCase{1'000'000, 60, 480us},
                                           ByteTimeCase{3'000'000, 1, 3us},
                                           ByteTimeCase{12'000'000, 60, 40us}));

TEST_F(SpiTransfer, BytesBeyondTheTransactionSizeAreDroppedAndSizeZeroFinishesAtOnce)
{
    setTransfer(chip, 4000, 4);
    roundTrip(chip, chunk(counting(10)));
    chip.advance(1s);
    EXPECT_EQ(poll(chip)[2], 4);
    EXPECT_EQ(unit.received, counting(4));

    setTransfer(chip, 4000, 0);
    const Report nothing = roundTrip(chip, chunk(counting(10)));
    EXPECT_EQ(nothing[3], xfer::Finished);
    EXPECT_EQ(nothing[2], 0);
    EXPECT_EQ(poll(chip)[3], xfer::Finished) << "a poll with no transaction open";
    EXPECT_EQ(unit.received.size(), 4u);
}

TEST(SpiTransferBusy, SettingsWritesAndBusReleaseAreBusyWhileAChunkIsClocked)
{
    const sim::BridgeChipNvram factory;
    const Report requests[] = {
        spiSettingsCommand(cmd::SetSpiSettings, factory.spiSettings),
        spiSettingsCommand(cmd::WriteNvram, factory.spiSettings),
        makeCommand({cmd::BusRelease, 0}),
    };
    for (const Report& request : requests) {
        sim::VexaBridgeChip busyChip;
        roundTrip(busyChip, chunk(counting(32)));
        EXPECT_EQ(roundTrip(busyChip, request)[1], status::Busy) << "command " << int(request[0]);
        busyChip.advance(64ms);
        EXPECT_EQ(roundTrip(busyChip, request)[1], status::Ok) << "command " << int(request[0]);
    }
}

TEST_F(SpiTransfer, ASettingsWriteOrCancelEndsATransactionThatWasNotCollected)
{
    for (const Report& ending : {spiSettingsCommand(cmd::SetSpiSettings, chip.currentSpiSettings()),
                                 makeCommand({cmd::CancelTransfer})}) {
        roundTrip(chip, chunk(counting(32)));
        chip.advance(1s);
        ASSERT_TRUE(chip.transactionOpen());
        EXPECT_EQ(roundTrip(chip, ending)[1], status::Ok);
        EXPECT_FALSE(chip.transactionOpen());
        EXPECT_EQ(roundTrip(chip, chunk(counting(32)))[3], xfer::Started) << "a fresh transaction";
        roundTrip(chip, {cmd::CancelTransfer});
    }
}

TEST_F(SpiTransfer, CancelStopsClockingAndFreesChipSelect)
{
    roundTrip(chip, chunk(counting(32)));
    chip.advance(10ms);
    const Report cancelled = roundTrip(chip, {cmd::CancelTransfer});
    EXPECT_EQ(cancelled[3], 0) << "no bus owner";
    chip.advance(1s);
    EXPECT_EQ(unit.received.size(), 5u);
    EXPECT_EQ(chip.pinLevels() & Pin4, Pin4);
}

TEST_F(SpiTransfer, StatusReportsBusOwnerEngineStateAndReleaseUntilTheNextTransaction)
{
    auto status = [&] { return roundTrip(chip, {cmd::Status}); };
    EXPECT_EQ(status()[10], 0);

    roundTrip(chip, chunk(counting(32)));
    EXPECT_EQ(status()[3], 1);
    EXPECT_EQ(status()[10], xfer::Started);
    chip.advance(64ms);
    EXPECT_EQ(status()[10], xfer::Finished);
    poll(chip);

    roundTrip(chip, {cmd::BusRelease, 1});
    EXPECT_EQ(status()[2], 1);
    EXPECT_EQ(status()[3], 0);
    roundTrip(chip, chunk(counting(32)));
    EXPECT_EQ(status()[2], 0);
}

TEST_F(SpiTransfer, TheUnitSeesBytesOnlyWhileItsSelectPinIsLow)
{
    // Pin 4 as chip select with an active level of 1: the unit stays
    // deselected and the chip reads the idle line.
    sim::SpiTransferSettings settings = chip.currentSpiSettings();
    settings.activeCsValues = PinMask;
    roundTrip(chip, spiSettingsCommand(cmd::SetSpiSettings, settings));
    chip.setIdleLineLevel(0x00);
    roundTrip(chip, chunk(counting(32)));
    chip.advance(64ms);
    EXPECT_EQ(dataOf(poll(chip)), std::vector<std::uint8_t>(32, 0x00));
    EXPECT_TRUE(unit.received.empty());

    // Pin 4 as a general-purpose output driven low selects it for good.
    sim::ChipSettings pins = chip.currentChipSettings();
    pins.pinDesignations[4] = pin::Gpio;
    pins.defaultOutputs = PinMask & ~Pin4;
    roundTrip(chip, chipSettingsCommand(pins));
    roundTrip(chip, chunk(counting(32)));
    chip.advance(64ms);
    EXPECT_EQ(dataOf(poll(chip)), std::vector<std::uint8_t>(32, 0xA5));
    EXPECT_EQ(unit.received.size(), 32u);

    // Wired to pin 0 instead, the unit follows pin 0, a chip select now.
    chip.setPeripheralSelectPin(0);
    pins.pinDesignations[0] = pin::ChipSelect;
    pins.defaultOutputs = PinMask;
    roundTrip(chip, chipSettingsCommand(pins));
    settings.activeCsValues = PinMask & ~1u;
    roundTrip(chip, spiSettingsCommand(cmd::SetSpiSettings, settings));
    roundTrip(chip, chunk(counting(32)));
    chip.advance(64ms);
    EXPECT_EQ(dataOf(poll(chip)), std::vector<std::uint8_t>(32, 0xA5));
    EXPECT_EQ(unit.received.size(), 64u);
}

} // namespace
