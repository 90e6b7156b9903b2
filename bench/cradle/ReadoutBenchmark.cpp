// Measures a full readout of the unit's 28160-byte logger memory (3518
// records) through each cradle kind against qzr-sim's cradles with their
// timing on, with the program's own link, session and readout operation:
// the wall time beside the link's own limit for the bytes that crossed in the
// same run (HID cradle: its serial byte rate; bridge cradle: the SPI bit time
// at the bit rate the chip reported).
#include "FigureLine.h"
#include "OperationsRig.h"

namespace {

using namespace qzr;
using namespace qzr::bench;

struct TReadout {
    double Seconds;
    std::uint64_t Bytes;
};

TReadout ReadOut(TBenchCradle& cradle)
{
    cradle.WaitForSession();
    cradle.ResetCounters();
    QElapsedTimer clock;
    clock.start();
    cradle.Operations.Readout.ReadLoggerBtnClick();
    cradle.RunUntil([&] { return cradle.ReadoutDone; }, 600, "readout");
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    if (!cradle.Image.HasData() || cradle.Image.Record(LogRecordCount - 1).Erased())
        Fail("the image is not the full logger");
    return {seconds, cradle.CrossedBytes()};
}

void Report(const char* cradle, const TReadout& readout, double limitSeconds, const char* limit,
            double goal)
{
    const double ratio = limitSeconds / readout.Seconds;
    std::printf("%-14s %7.2f s for %6llu bytes crossing; %s: %7.2f s; %5.1f %% of the limit "
                "(goal %.0f %%)%s\n",
                cradle, readout.Seconds, static_cast<unsigned long long>(readout.Bytes), limit,
                limitSeconds, 100 * ratio, 100 * goal, ratio >= goal ? "" : "  MISSED");
    const std::string what = std::string("full logger readout, ") + cradle + ", beside " + limit;
    const std::string goalLine = "ratio<=" + std::to_string(1 / goal).substr(0, 4);
    PrintFigure(what.c_str(), readout.Seconds, limitSeconds, "s", goalLine.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    TSimulatorProcess simulator;
    QCoreApplication application(argc, argv);
    std::printf("Full logger readout, %zu bytes, blocks of %zu bytes\n\n", LogDataSize,
                sim::Zt46Unit::DefaultReadoutBlockSize);
    {
        TBenchCradle hid(TCradleKind::Hid, simulator.Bus());
        const TReadout readout = ReadOut(hid);
        const double rate = hid.MeasuredSerialByteRate();
        char label[64];
        std::snprintf(label, sizeof label, "serial time at %.0f bytes/s", rate);
        Report("HID cradle", readout, double(readout.Bytes) / rate, label, 0.90);
        std::printf("%-14s the cradle's nominal serial rate: %u bytes/s\n", "",
                    simulator.SerialByteRate());
    }
    {
        TBenchCradle bridge(TCradleKind::Bridge, simulator.Bus());
        const TReadout readout = ReadOut(bridge);
        const double limit = double(readout.Bytes) * 8 / bridge.Bridge.BitRate;
        char label[64];
        std::snprintf(label, sizeof label, "SPI bit time at %u bit/s", bridge.Bridge.BitRate);
        Report("bridge cradle", readout, limit, label, 0.80);
    }
    return 0;
}
