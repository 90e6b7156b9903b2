// SPI transfers against chips that name a larger transaction than the
// caller's buffers hold: the call fails before any data moves. The buffers
// are exactly as large as stated, so the sanitizers catch any access beyond.
#include "support/BusFixture.h"
#include "support/SizeFaultyBridge.h"

#include <numeric>

using namespace vexatest;

namespace {

constexpr uint32_t keepChipSelects = 0x80000000u;

std::vector<uint8_t> pattern(std::size_t size)
{
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t{1});
    return bytes;
}

std::size_t chunkCount(const std::vector<Command>& commands)
{
    return static_cast<std::size_t>(std::count_if(commands.begin(), commands.end(),
                                                  [](const Command& c) { return c[0] == 0x42; }));
}

struct ExtendedCase {
    const char* name;
    uint32_t wantedSize;
    SizeFault fault;
    int32_t expected;
    uint32_t sizeAfter;    // the caller's txferSize after the call
    std::size_t exchanged; // bytes that came back into rxData
};

void PrintTo(const ExtendedCase& c, std::ostream* out)
{
    *out << c.name;
}

class ExtendedTransferSizeTest : public BusFixture,
                                 public ::testing::WithParamInterface<ExtendedCase> {};

TEST_P(ExtendedTransferSizeTest, TransferKeepsToTheWantedSize)
{
    const auto& c = GetParam();
    auto& device = addBridge("bridge", sizeFaultyBridge({}, c.fault));
    const VexaHandle handle = openFirstBridge();
    const auto tx = pattern(c.wantedSize);
    std::vector<uint8_t> rx(c.wantedSize, 0xEE);
    uint32_t rate = 4000, size = c.wantedSize, idle = 0x1FF, active = 0x1EF, d1 = 0, d2 = 0,
             d3 = 20;
    uint8_t mode = 0;
    EXPECT_EQ(Vexa_xferSpiDataEx(handle, tx.data(), rx.data(), &rate, &size, 0x10, &idle, &active,
                                 &d1, &d2, &d3, &mode),
              c.expected);
    EXPECT_EQ(size, c.sizeAfter);
    const auto commands = device.commands();
    EXPECT_EQ(chunkCount(commands) > 0, c.exchanged > 0);
    for (std::size_t i = 0; i < rx.size(); ++i)
        EXPECT_EQ(rx[i], i < c.exchanged ? tx[i] : 0xEE) << i;
    if (c.expected != VEXA_OK) {
        // Refused before the chip-select designations were touched.
        EXPECT_EQ(codesOf(commands), (std::vector<uint8_t>{0x40, 0x41}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Chips, ExtendedTransferSizeTest,
    ::testing::Values(
        ExtendedCase{"behaves", 1, {}, VEXA_OK, 1, 1},
        ExtendedCase{"appliesLargerOnConfiguration", 1, {64, {}}, VEXA_FAILED, 64, 0},
        ExtendedCase{"reportsLargerAfterConfiguration", 1, {{}, 64}, VEXA_FAILED, 1, 0},
        ExtendedCase{"reportsLargestAfterConfiguration", 1, {{}, 0xFFFF}, VEXA_FAILED, 1, 0},
        ExtendedCase{"appliesLessThanWanted", 8, {4, {}}, VEXA_OK, 4, 4}),
    [](const auto& info) { return std::string(info.param.name); });

struct PlainCase {
    const char* name;
    uint32_t wantedSize;
    SizeFault fault;
    int32_t expected;
    std::vector<uint8_t> codes;
};

void PrintTo(const PlainCase& c, std::ostream* out)
{
    *out << c.name;
}

class PlainTransferSizeTest : public BusFixture, public ::testing::WithParamInterface<PlainCase> {};

TEST_P(PlainTransferSizeTest, ChipSizeBeyondTheWantedOneIsRefused)
{
    const auto& c = GetParam();
    SpiRecord spi;
    spi.txferSize = 1;
    auto& device = addBridge("bridge", sizeFaultyBridge(spi, c.fault));
    const VexaHandle handle = openFirstBridge();
    const auto tx = pattern(c.wantedSize);
    std::vector<uint8_t> rx(c.wantedSize, 0xEE);
    uint32_t rate = 4000;
    uint32_t size = c.wantedSize;
    EXPECT_EQ(Vexa_xferSpiData(handle, tx.data(), rx.data(), &rate, &size, keepChipSelects),
              c.expected);
    EXPECT_EQ(codesOf(device.commands()), c.codes);
    EXPECT_EQ(size, c.wantedSize);
    if (c.expected != VEXA_OK)
        EXPECT_EQ(rx, std::vector<uint8_t>(c.wantedSize, 0xEE));
    else
        EXPECT_EQ(rx, tx);
}

INSTANTIATE_TEST_SUITE_P(
    Chips, PlainTransferSizeTest,
    ::testing::Values(
        PlainCase{"behaves", 32, {}, VEXA_OK, {0x41, 0x40, 0x42}},
        PlainCase{"appliesLargerOnWrite", 32, {2000, {}}, VEXA_FAILED, {0x41, 0x40}},
        PlainCase{"appliesLargestOnWrite", 1025, {0xFFFF, {}}, VEXA_FAILED, {0x41, 0x40}},
        // A wrong size read is written over, and the written one holds.
        PlainCase{"reportsLargerThenAppliesTheWanted", 32, {{}, 64}, VEXA_OK, {0x41, 0x40, 0x42}}),
    [](const auto& info) { return std::string(info.param.name); });

using TransferSizeTest = BusFixture;

TEST_F(TransferSizeTest, KeepingTheChipsSizeTrustsTheCallersPromise)
{
    // Buffers of the chip's size, as the caller of "keep the chip's size"
    // promises: the transaction runs with it.
    SpiRecord spi;
    spi.txferSize = 100;
    addBridge("bridge", sizeFaultyBridge(spi, SizeFault{}));
    const VexaHandle handle = openFirstBridge();
    const auto tx = pattern(100);
    std::vector<uint8_t> rx(100);
    uint32_t rate = 0;
    uint32_t size = 0x10000;
    EXPECT_EQ(Vexa_xferSpiData(handle, tx.data(), rx.data(), &rate, &size, keepChipSelects),
              VEXA_OK);
    EXPECT_EQ(size, 100u);
    EXPECT_EQ(rx, tx);
}

} // namespace
