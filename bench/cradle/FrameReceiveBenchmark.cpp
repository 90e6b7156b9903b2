// Throughput of the receiving side: bytes per second through the frame
// receiver alone and through receiver plus dispatcher, for streams of valid
// frames from the unit as a logger readout or the realtime display produce
// them.
#include <benchmark/benchmark.h>

#include <vector>

#include "cradle/FrameCodec.h"
#include "cradle/SessionProtocol.h"
#include "sim/unit/DemoRecording.h"
#include "sim/unit/UnitFrameEncoder.h"
#include "sim/unit/Zt46Unit.h"

namespace {

constexpr std::uint8_t SessionId = 0x10; // a DLE, so byte 1 is stuffed too

class SilentWindow : public qzr::TSessionWindow {
public:
    void SetAllowances() override {}
    void SetCaption() override {}
    void ShowUnitOnCradle(bool) override {}
    void SetProgress(int) override {}
    void ShowMessageCounts(std::uint32_t, std::uint32_t) override {}
    void SetSessionTimerActive(bool) override {}
    void ClearSessionDisplays() override {}
    void EndRealtimeDisplay() override {}
    void SetupDataToControls() override {}
};

class CountingOperations : public qzr::TUnitReplyHandler {
public:
    std::uint64_t replies = 0;
    void ReplyReceived(std::uint8_t, const qzr::TFrameCodec&) override { ++replies; }
};

class FixedSessionId : public qzr::TSessionIdSource {
public:
    std::uint8_t NewSessionID() override { return SessionId; }
};

// The whole logger memory of a day's recording as 0x29 replies of 256 bytes.
std::vector<std::uint8_t> readoutStream()
{
    sim::Zt46Unit unit({1, 1, 1, 0});
    unit.loadLoggerRecording(sim::temperatureDayRecording(800000000));
    const auto& memory = unit.loggerMemory();
    std::vector<std::uint8_t> stream;
    for (std::size_t offset = 0; offset < memory.size(); offset += 256) {
        std::vector<std::uint8_t> message{qzr::msgReadLog, SessionId};
        message.insert(message.end(), memory.begin() + offset,
                       memory.begin() + std::min(offset + 256, memory.size()));
        const auto frame = sim::encodeUnitFrame(message);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    return stream;
}

// A thousand 0x21 replies with changing readings.
std::vector<std::uint8_t> realtimeStream()
{
    std::vector<std::uint8_t> stream;
    for (int i = 0; i < 1000; ++i) {
        std::vector<std::uint8_t> message{qzr::msgRealtime, SessionId};
        for (int word = 0; word < 4; ++word) {
            const int value = (i * 37 + word * 1000) % 30000;
            message.push_back(static_cast<std::uint8_t>(value));
            message.push_back(static_cast<std::uint8_t>(value >> 8));
        }
        const auto frame = sim::encodeUnitFrame(message);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    return stream;
}

const std::vector<std::uint8_t>& streamFor(const benchmark::State& state)
{
    static const std::vector<std::uint8_t> readout = readoutStream();
    static const std::vector<std::uint8_t> realtime = realtimeStream();
    return state.range(0) == 0 ? readout : realtime;
}

void ReceiveByte(benchmark::State& state)
{
    const auto& stream = streamFor(state);
    qzr::TFrameCodec codec;
    std::uint64_t frames = 0;
    for (auto _ : state) {
        for (std::uint8_t b : stream) {
            codec.ReceiveByte(b);
            if (codec.BlockComplete() || codec.BlockFailed()) {
                frames += codec.BlockComplete();
                codec.ResetReceiver();
            }
        }
        benchmark::DoNotOptimize(frames);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
    state.SetLabel(state.range(0) == 0 ? "0x29 blocks of 256 bytes" : "0x21 readings");
}

void ReceiveAndProcessInput(benchmark::State& state)
{
    const auto& stream = streamFor(state);
    qzr::TFrameCodec codec;
    SilentWindow window;
    FixedSessionId sessionIds;
    CountingOperations operations;
    qzr::TSessionProtocol session(codec, window, sessionIds);
    session.setReplyHandler(&operations);
    session.SessionID = SessionId;
    session.SessionState = qzr::ssReadingLog;
    for (auto _ : state) {
        for (std::uint8_t b : stream)
            session.ReceiveLinkByte(b);
        benchmark::DoNotOptimize(operations.replies);
    }
    if (session.errorCount() != 0 || session.SessionState != qzr::ssReadingLog)
        state.SkipWithError("the stream did not dispatch cleanly");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
    state.SetLabel(state.range(0) == 0 ? "0x29 blocks of 256 bytes" : "0x21 readings");
}

BENCHMARK(ReceiveByte)->Arg(0)->Arg(1);
BENCHMARK(ReceiveAndProcessInput)->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
