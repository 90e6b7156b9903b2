// The pauses after busy answers, through the transfer's pause seam: bounded by
// the pause at the chip's lowest bit rate whatever rate a chip reports, and
// the call gives up after its rounds. No real pause is taken.
#include "SpiTransfer.h"
#include "support/BusFixture.h"
#include "support/ScriptedBridge.h"

#include <chrono>
#include <numeric>

using namespace vexatest;
using std::chrono::milliseconds;

namespace {

class BusyPauseBoundTest : public BusFixture {
protected:
    // A chip at `rate` that answers busy to every transfer chunk.
    VexaHandle openBusyBridge(uint32_t rate)
    {
        SpiRecord spi;
        spi.bitRate = rate;
        spi.txferSize = 8;
        device_ = &addBridge("bridge", ScriptedBridge(spi, {}, [](const Command&) {
                                 return transferAnswer(0xF8, 60, 0x30, 0xAB);
                             }));
        return openFirstBridge();
    }

    const vexa::BusyPause recorder = [this](milliseconds pause) { pauses_.push_back(pause); };
    std::vector<milliseconds> pauses_;
    ScriptedBusDevice* device_ = nullptr;
};

TEST_F(BusyPauseBoundTest, PausesAtAnyReportedRateStayWithinTheLowestRatesPause)
{
    struct Case {
        uint32_t rate;
        milliseconds pause;
    };
    const Case cases[] = {{1, milliseconds(VEXA_BUSY_PAUSE_LIMIT_MS)},
                          {VEXA_LOWEST_BIT_RATE - 1, milliseconds(VEXA_BUSY_PAUSE_LIMIT_MS)},
                          {VEXA_LOWEST_BIT_RATE, milliseconds(VEXA_BUSY_PAUSE_LIMIT_MS)},
                          {4000, milliseconds(26)},
                          {0, milliseconds(1)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        TearDown();
        SetUp();
        pauses_.clear();
        const VexaHandle handle = openBusyBridge(c.rate);
        const auto tx = std::vector<uint8_t>(8, 0x55);
        std::vector<uint8_t> rx(8, 0xEE);
        uint32_t rate = 0;
        uint32_t size = 8;
        EXPECT_EQ(vexa::transferSpiData(handle, tx.data(), rx.data(), &rate, &size, 0x80000000u,
                                        size, recorder),
                  VEXA_TRANSFER_GAVE_UP);
        ASSERT_EQ(pauses_.size(), std::size_t{VEXA_TRANSFER_ROUNDS});
        EXPECT_TRUE(std::all_of(pauses_.begin(), pauses_.end(),
                                [&](milliseconds pause) { return pause == c.pause; }));
        const auto total = std::accumulate(pauses_.begin(), pauses_.end(), milliseconds(0));
        EXPECT_LE(total, milliseconds(VEXA_TRANSFER_ROUNDS * VEXA_BUSY_PAUSE_LIMIT_MS));
        // Busy answers carry no data for the caller.
        EXPECT_EQ(rx, std::vector<uint8_t>(8, 0xEE));
        EXPECT_EQ(rate, 0u);
        EXPECT_EQ(size, 8u);
    }
}

TEST_F(BusyPauseBoundTest, OneBitPerSecondChipIsGivenUpOnWithinTheBound)
{
    // The whole call at 1 bit/s: every chunk answered busy, measured on the
    // pause seam: 200 pauses of the lowest rate's pause, 13.4 s, instead of
    // 200 pauses of 100 s.
    const VexaHandle handle = openBusyBridge(1);
    const auto tx = std::vector<uint8_t>(8, 0x55);
    std::vector<uint8_t> rx(8, 0xEE);
    uint32_t rate = 0;
    uint32_t size = 0x10000;
    EXPECT_EQ(vexa::transferSpiData(handle, tx.data(), rx.data(), &rate, &size, 0x10, 8, recorder),
              VEXA_TRANSFER_GAVE_UP);
    const auto total = std::accumulate(pauses_.begin(), pauses_.end(), milliseconds(0));
    EXPECT_EQ(total, milliseconds(13400));
    // Settings read, chip-select designation, then only the busy chunks.
    const auto codes = codesOf(device_->commands());
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(std::vector<uint8_t>(codes.begin(), codes.begin() + 3),
              (std::vector<uint8_t>{0x41, 0x20, 0x21}));
    EXPECT_EQ(std::count(codes.begin(), codes.end(), uint8_t{0x42}), VEXA_TRANSFER_ROUNDS);
}

} // namespace
