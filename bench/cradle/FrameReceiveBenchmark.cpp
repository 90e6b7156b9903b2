// Throughput of the receiving side: bytes per second through the frame
// receiver alone and through receiver plus dispatcher, for streams of valid
// frames from the unit as a logger readout or the realtime display produce
// them, beside a bare loop over the same bytes (the floor).
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "FigureLine.h"

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

const char* labelFor(const benchmark::State& state)
{
    return state.range(0) == 0 ? "0x29 blocks of 256 bytes" : "0x21 readings";
}

// The floor: every byte of the stream looked at once, as cheaply as a loop
// that cannot be folded away allows.
void BareLoop(benchmark::State& state)
{
    const auto& stream = streamFor(state);
    std::uint64_t sum = 0;
    for (auto _ : state) {
        for (std::uint8_t b : stream) {
            sum = sum * 31 + b;
            benchmark::DoNotOptimize(sum);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
    state.SetLabel(labelFor(state));
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
    state.SetLabel(labelFor(state));
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
    state.SetLabel(labelFor(state));
}

BENCHMARK(BareLoop)->Arg(0)->Arg(1);
BENCHMARK(ReceiveByte)->Arg(0)->Arg(1);
BENCHMARK(ReceiveAndProcessInput)->Arg(0)->Arg(1);

// The console table as usual, and the bytes per second of every run kept by
// its name for the figure lines.
class TFigureReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> BytesPerSecond;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto bytes = run.counters.find("bytes_per_second");
            if (bytes != run.counters.end())
                BytesPerSecond[run.benchmark_name()] = bytes->second.value;
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TFigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto& rates = reporter.BytesPerSecond;
    for (const char* stream : {"0", "1"}) {
        const auto floor = rates.find(std::string("BareLoop/") + stream);
        if (floor == rates.end())
            continue;
        const char* label = stream[0] == '0' ? "logger blocks" : "realtime readings";
        const std::pair<const char*, const char*> measuredRuns[] = {
            {"ReceiveByte", "frame receive"},
            {"ReceiveAndProcessInput", "frame receive + dispatch"}};
        for (const auto& [name, measured] : measuredRuns) {
            const auto figure = rates.find(std::string(name) + "/" + stream);
            if (figure == rates.end())
                continue;
            const std::string what =
                std::string(measured) + ", " + label + ", beside a bare loop over the bytes";
            qzr::bench::PrintFigure(what.c_str(), figure->second / 1e6, floor->second / 1e6,
                                    "MB/s");
        }
    }
    return 0;
}
