// SPI transfers against scripted bridges: chunking, polling, busy and give-up
// rules, settings writes and chip-select designations.
#include "support/BusFixture.h"
#include "support/ScriptedBridge.h"

#include <numeric>

using namespace vexatest;

namespace {

constexpr uint32_t keepChipSelects = 0x80000000u; // no chip-settings command

std::vector<uint8_t> pattern(std::size_t size)
{
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t{1});
    return bytes;
}

std::vector<Command> chunksOf(const std::vector<Command>& commands)
{
    std::vector<Command> chunks;
    std::copy_if(commands.begin(), commands.end(), std::back_inserter(chunks),
                 [](const Command& command) { return command[0] == 0x42; });
    return chunks;
}

class SpiTransferTest : public BusFixture {
protected:
    // A bridge with the given transaction size and chunk answers, opened.
    VexaHandle openBridge(uint16_t size, ScriptedBridge::ChunkAnswer answer, uint32_t rate = 4000)
    {
        SpiRecord spi;
        spi.txferSize = size;
        spi.bitRate = rate;
        device_ = &addBridge("bridge", ScriptedBridge(spi, {}, std::move(answer)));
        return openFirstBridge();
    }

    // One transfer that keeps the chip's rate and size.
    int32_t transfer(VexaHandle handle, const std::vector<uint8_t>& tx, std::vector<uint8_t>& rx,
                     uint32_t csMask = keepChipSelects)
    {
        uint32_t rate = 0;
        uint32_t size = 0x10000;
        return Vexa_xferSpiData(handle, tx.data(), rx.data(), &rate, &size, csMask);
    }

    ScriptedBusDevice* device_ = nullptr;
};

struct ChunkingCase {
    uint16_t size;
    std::vector<uint8_t> dataChunks;
};

class ChunkingTest : public SpiTransferTest, public ::testing::WithParamInterface<ChunkingCase> {};

TEST_P(ChunkingTest, DataGoesOutInChunksOfAtMostSixty)
{
    const auto& c = GetParam();
    for (const bool onPolls : {false, true}) {
        SCOPED_TRACE(onPolls ? "answered on polls" : "answered at once");
        TearDown();
        SetUp();
        const VexaHandle handle = openBridge(c.size, onPolls ? ScriptedBridge::echoOnPolls()
                                                             : ScriptedBridge::echoAtOnce());
        const auto tx = pattern(c.size);
        std::vector<uint8_t> rx(c.size);
        ASSERT_EQ(transfer(handle, tx, rx), VEXA_OK);
        EXPECT_EQ(rx, tx);

        std::vector<uint8_t> lengths;
        std::size_t offset = 0;
        for (const auto& chunk : chunksOf(device_->commands())) {
            if (chunk[1] == 0) {
                // A poll carries no data: only its 4-byte header.
                EXPECT_TRUE(
                    std::all_of(chunk.begin() + 2, chunk.end(), [](auto b) { return b == 0; }));
                continue;
            }
            lengths.push_back(chunk[1]);
            EXPECT_TRUE(std::equal(chunk.begin() + 4, chunk.begin() + 4 + chunk[1],
                                   tx.begin() + static_cast<std::ptrdiff_t>(offset)));
            offset += chunk[1];
        }
        EXPECT_EQ(lengths, c.dataChunks);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ChunkingTest,
                         ::testing::Values(ChunkingCase{1, {1}}, ChunkingCase{60, {60}},
                                           ChunkingCase{61, {60, 1}},
                                           ChunkingCase{121, {60, 60, 1}}),
                         [](const auto& info) { return "size" + std::to_string(info.param.size); });

TEST_F(SpiTransferTest, BusyChipIsAskedAgainWithTheSameChunkUntilItGivesUp)
{
    // 100000 bit/s keeps each pause at 2 ms.
    const VexaHandle handle = openBridge(
        8, [](const Command&) { return transferAnswer(0xF8, 0, 0); }, 100000);
    const auto tx = pattern(8);
    std::vector<uint8_t> rx(8, 0xEE);
    uint32_t rate = 0;
    uint32_t size = 0x10000;
    EXPECT_EQ(Vexa_xferSpiData(handle, tx.data(), rx.data(), &rate, &size, keepChipSelects),
              VEXA_TRANSFER_GAVE_UP);
    const auto chunks = chunksOf(device_->commands());
    ASSERT_EQ(chunks.size(), std::size_t{VEXA_TRANSFER_ROUNDS});
    EXPECT_TRUE(std::all_of(chunks.begin(), chunks.end(),
                            [&](const Command& c) { return c == chunks[0]; }));
    EXPECT_EQ(chunks[0][1], 8);
    EXPECT_EQ(rate, 0u) << "outputs keep the caller's values on failure";
    EXPECT_EQ(size, 0x10000u);
}

TEST_F(SpiTransferTest, PollsCountAsRoundsButAcceptedDataChunksDoNot)
{
    // 180 bytes: three data chunks, then the chip never has anything.
    const VexaHandle handle =
        openBridge(180, [](const Command&) { return transferAnswer(0x00, 0, 0x20); });
    const auto tx = pattern(180);
    std::vector<uint8_t> rx(180);
    EXPECT_EQ(transfer(handle, tx, rx), VEXA_TRANSFER_GAVE_UP);
    // The answer to the last data chunk is the first round.
    EXPECT_EQ(chunksOf(device_->commands()).size(), 2u + VEXA_TRANSFER_ROUNDS);
}

struct OutcomeCase {
    const char* name;
    Response answer;
    int32_t expected;
};

void PrintTo(const OutcomeCase& c, std::ostream* out)
{
    *out << c.name;
}

class TransferOutcomeTest : public SpiTransferTest,
                            public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(TransferOutcomeTest, ChunkAnswerEndsTheTransfer)
{
    const Response answer = GetParam().answer;
    const VexaHandle handle = openBridge(8, [answer](const Command&) { return answer; });
    std::vector<uint8_t> rx(8, 0xEE);
    EXPECT_EQ(transfer(handle, pattern(8), rx), GetParam().expected);
    EXPECT_EQ(chunksOf(device_->commands()).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TransferOutcomeTest,
    ::testing::Values(
        OutcomeCase{"refused", transferAnswer(0xF7, 0, 0), VEXA_SPI_TRANSFER_REFUSED},
        OutcomeCase{"unknownStatus", transferAnswer(0xFE, 0, 0x20), VEXA_FAILED},
        OutcomeCase{"unknownEngineState", transferAnswer(0x00, 0, 0x40), VEXA_FAILED},
        OutcomeCase{"otherCommandEchoed", reply({0x41, 0x00, 0x08, 0x10}), VEXA_ECHO_MISMATCH},
        OutcomeCase{"otherCommandEchoedWithStatus", reply({0x41, 0xF7}), VEXA_ECHO_MISMATCH},
        OutcomeCase{"finishedEarly", transferAnswer(0x00, 5, 0x10, 0xAB), VEXA_TRANSFER_SHORT},
        OutcomeCase{"finishedWithAll", transferAnswer(0x00, 8, 0x10, 0xAB), VEXA_OK}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SpiTransferTest, ShortTransferLeavesWhatCameAndKeepsTheCallersValues)
{
    const VexaHandle handle =
        openBridge(8, [](const Command&) { return transferAnswer(0x00, 5, 0x10, 0xAB); });
    std::vector<uint8_t> rx(8, 0xEE);
    uint32_t rate = 1234;
    uint32_t size = 8;
    const auto tx = pattern(8);
    EXPECT_EQ(Vexa_xferSpiData(handle, tx.data(), rx.data(), &rate, &size, keepChipSelects),
              VEXA_TRANSFER_SHORT);
    EXPECT_EQ(rx, (std::vector<uint8_t>{0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xEE, 0xEE, 0xEE}));
    EXPECT_EQ(rate, 1234u);
    EXPECT_EQ(size, 8u);
}

TEST_F(SpiTransferTest, AnswerWithMoreBytesThanExpectedFillsOnlyTheExpected)
{
    // rx holds exactly the 5 expected bytes; a copy past them would overrun.
    const VexaHandle handle =
        openBridge(5, [](const Command&) { return transferAnswer(0x00, 60, 0x30, 0x5A); });
    std::vector<uint8_t> rx(5);
    EXPECT_EQ(transfer(handle, pattern(5), rx), VEXA_OK);
    EXPECT_EQ(rx, std::vector<uint8_t>(5, 0x5A));
}

TEST_F(SpiTransferTest, TransactionSizeZeroSendsNoChunk)
{
    const VexaHandle handle = openBridge(0, ScriptedBridge::echoAtOnce());
    uint8_t byte = 0;
    uint32_t rate = 0;
    uint32_t size = 0x10000;
    EXPECT_EQ(Vexa_xferSpiData(handle, &byte, &byte, &rate, &size, keepChipSelects), VEXA_OK);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(rate, 4000u);
    EXPECT_EQ(codesOf(device_->commands()), std::vector<uint8_t>{0x41});
}

TEST_F(SpiTransferTest, WantedRateAndSizeAreWrittenOnlyWhenTheyDiffer)
{
    const VexaHandle handle = openBridge(4, ScriptedBridge::echoAtOnce());
    std::vector<uint8_t> rx(32);
    const auto tx = pattern(32);

    struct Step {
        uint32_t rate;
        uint32_t size;
        bool written;
        uint32_t rateAfter;
        uint32_t sizeAfter;
    };
    // 0 keeps the rate, sizes above 0xFFFF keep the size.
    for (const Step& step : {Step{0, 0x10000, false, 4000, 4}, Step{4000, 4, false, 4000, 4},
                             Step{0, 32, true, 4000, 32}, Step{9600, 0x12345, true, 9600, 32},
                             Step{9600, 32, false, 9600, 32}}) {
        const std::size_t before = device_->commands().size();
        uint32_t rate = step.rate;
        uint32_t size = step.size;
        ASSERT_EQ(Vexa_xferSpiData(handle, tx.data(), rx.data(), &rate, &size, keepChipSelects),
                  VEXA_OK);
        const auto codes = codesOf(device_->commands());
        const bool written = std::count(codes.begin() + static_cast<std::ptrdiff_t>(before),
                                        codes.end(), uint8_t{0x40}) == 1;
        EXPECT_EQ(written, step.written) << step.rate << " " << step.size;
        EXPECT_EQ(rate, step.rateAfter);
        EXPECT_EQ(size, step.sizeAfter);
    }
}

TEST_F(SpiTransferTest, SettingsTheChipAppliesAreWhatComesBack)
{
    // The chip moves a rate it cannot clock into its range.
    SpiRecord spi;
    spi.txferSize = 2;
    device_ = &addBridge("bridge", [spi](const Command& command) mutable -> std::vector<Response> {
        if (command[0] == 0x40) {
            spi = spiRecordOf(command);
            spi.bitRate = 1500;
            return {spiSettingsAnswer(0x40, spi)};
        }
        if (command[0] == 0x41)
            return {spiSettingsAnswer(0x41, spi)};
        return {transferAnswer(0x00, 2, 0x10)};
    });
    const VexaHandle handle = openFirstBridge();
    uint8_t tx[2] = {};
    uint8_t rx[2] = {};
    uint32_t rate = 100;
    uint32_t size = 0x10000;
    ASSERT_EQ(Vexa_xferSpiData(handle, tx, rx, &rate, &size, keepChipSelects), VEXA_OK);
    EXPECT_EQ(rate, 1500u);
    EXPECT_EQ(size, 2u);
}

TEST_F(SpiTransferTest, BusyAnswerToNewSettingsStopsBeforeTheTransfer)
{
    device_ = &addBridge("bridge", [](const Command& command) -> std::vector<Response> {
        if (command[0] == 0x41)
            return {spiSettingsAnswer(0x41, {})};
        return {reply({command[0], 0xF8})};
    });
    const VexaHandle handle = openFirstBridge();
    uint8_t byte = 0;
    uint32_t rate = 8000;
    uint32_t size = 1;
    EXPECT_EQ(Vexa_xferSpiData(handle, &byte, &byte, &rate, &size, keepChipSelects),
              VEXA_SPI_SETTINGS_BUSY);
    EXPECT_EQ(codesOf(device_->commands()), (std::vector<uint8_t>{0x41, 0x40}));
    EXPECT_EQ(rate, 8000u);
}

struct ChipSelectCase {
    const char* name;
    uint32_t csMask;
    ChipRecord before;
    std::vector<uint8_t> codes;
    std::array<uint8_t, 9> designationsAfter;
};

void PrintTo(const ChipSelectCase& c, std::ostream* out)
{
    *out << c.name;
}

class ChipSelectTest : public SpiTransferTest,
                       public ::testing::WithParamInterface<ChipSelectCase> {};

TEST_P(ChipSelectTest, MaskDesignatesPinsAndDecidesTheRewrite)
{
    const auto& c = GetParam();
    SpiRecord spi;
    spi.txferSize = 1;
    auto& device = addBridge("bridge", ScriptedBridge(spi, c.before, ScriptedBridge::echoAtOnce()));
    const VexaHandle handle = openFirstBridge();
    uint8_t tx = 0x55;
    uint8_t rx = 0;
    uint32_t rate = 0;
    uint32_t size = 0x10000;
    ASSERT_EQ(Vexa_xferSpiData(handle, &tx, &rx, &rate, &size, c.csMask), VEXA_OK);

    const auto commands = device.commands();
    EXPECT_EQ(codesOf(commands), c.codes);
    for (const auto& command : commands) {
        if (command[0] == 0x21) {
            // Every chip-settings write carries the designations as they stand
            // after the mask, the rest of the record as read.
            const ChipRecord written = chipRecordOf(command);
            EXPECT_EQ(written.designations, c.designationsAfter);
            EXPECT_EQ(written.directions, c.before.directions);
            EXPECT_EQ(written.settingsByte, c.before.settingsByte);
        }
    }
}

constexpr ChipRecord twoSelects{{1, 1, 0, 0, 0, 0, 2, 0, 0}, 0x1FF, 0x00F, 0x12};
constexpr ChipRecord pin8Dedicated{{0, 0, 0, 0, 0, 0, 0, 0, 2}, 0, 0, 0};
constexpr ChipRecord pin8Input{{0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, 0x100, 0};

INSTANTIATE_TEST_SUITE_P(
    Masks, ChipSelectTest,
    ::testing::Values(
        ChipSelectCase{"pin4Only",
                       0x10,
                       twoSelects,
                       {0x41, 0x20, 0x21, 0x42, 0x21},
                       {0, 0, 0, 0, 1, 0, 2, 0, 0}},
        ChipSelectCase{"pin4KeepSettings",
                       0x80000010u,
                       twoSelects,
                       {0x41, 0x20, 0x21, 0x42},
                       {0, 0, 0, 0, 1, 0, 2, 0, 0}},
        ChipSelectCase{"noPinsKeepSettings", 0x80000000u, twoSelects, {0x41, 0x42}, {}},
        ChipSelectCase{"noPinsRewrite",
                       0x10000000u,
                       twoSelects,
                       {0x41, 0x20, 0x42, 0x21},
                       {1, 1, 0, 0, 0, 0, 2, 0, 0}},
        ChipSelectCase{"pin8IsAPinAndKeepsSettings",
                       0x100,
                       twoSelects,
                       {0x41, 0x20, 0x21, 0x42},
                       {0, 0, 0, 0, 0, 0, 2, 0, 1}},
        ChipSelectCase{"dedicatedPin8SkipsRewrite", 0, pin8Dedicated, {0x41, 0x20, 0x42}, {}},
        ChipSelectCase{"inputPin8SkipsRewrite", 0, pin8Input, {0x41, 0x20, 0x42}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SpiTransferTest, ExtendedTransferSetsTheSettingsThenRunsWithThem)
{
    device_ = &addBridge("bridge", ScriptedBridge({}, {}, ScriptedBridge::echoAtOnce()));
    const VexaHandle handle = openFirstBridge();
    uint8_t tx = 0x00;
    uint8_t rx = 0xFF;
    uint32_t rate = 4000, size = 1, idle = 0xF1FF, active = 0x1EF, d1 = 0, d2 = 0, d3 = 20;
    uint8_t mode = 0;
    ASSERT_EQ(Vexa_xferSpiDataEx(handle, &tx, &rx, &rate, &size, 0x10, &idle, &active, &d1, &d2,
                                 &d3, &mode),
              VEXA_OK);
    EXPECT_EQ(rx, 0x00);
    const auto commands = device_->commands();
    EXPECT_EQ(codesOf(commands), (std::vector<uint8_t>{0x40, 0x41, 0x20, 0x21, 0x42, 0x21}));
    const SpiRecord sent = spiRecordOf(commands[0]);
    EXPECT_EQ(sent.bitRate, 4000u);
    EXPECT_EQ(sent.idleCsValues, 0xF1FF);
    EXPECT_EQ(sent.activeCsValues, 0x1EF);
    EXPECT_EQ(sent.delay3, 20);
    EXPECT_EQ(sent.txferSize, 1);
}

} // namespace
