// Measures a full programming run of the setup image (32 pairs written and
// compared, then the store into the user area) through each cradle kind
// against qzr-sim's cradles with their timing on: the wall time beside the
// link's own limit for the bytes that crossed in the same run.
#include "FigureLine.h"
#include "OperationsRig.h"

namespace {

using namespace qzr;
using namespace qzr::bench;

constexpr int Runs = 3;

} // namespace

int main(int argc, char** argv)
{
    TSimulatorProcess simulator;
    QCoreApplication application(argc, argv);
    std::printf("Programming run: 32 pairs and the store, %d runs per cradle\n\n", Runs);
    for (const TCradleKind kind : {TCradleKind::Hid, TCradleKind::Bridge}) {
        TBenchCradle cradle(kind, simulator.Bus());
        cradle.WaitForSession();
        for (int run = 0; run < Runs; ++run) {
            cradle.ResetCounters();
            cradle.Stored = false;
            cradle.Controls.UserMultiplier = 1000 + run;
            QElapsedTimer clock;
            clock.start();
            cradle.Operations.Programming.ProgramBtnClick(nvmUser, cradle.Controls);
            cradle.RunUntil([&] { return cradle.Stored; }, 120, "programming");
            const double seconds = double(clock.nsecsElapsed()) / 1e9;
            const double bytes = double(cradle.CrossedBytes());
            const bool hid = kind == TCradleKind::Hid;
            // The replies are too short to measure the cradle's serial rate in
            // them: its nominal rate stands.
            const double rate = hid ? simulator.SerialByteRate() : cradle.Bridge.BitRate / 8.0;
            const double limit = bytes / rate;
            std::printf("%-14s run %d: %6.3f s for %5.0f bytes crossing; %s at %.0f bytes/s: "
                        "%6.3f s (%4.1f %%)\n",
                        hid ? "HID cradle" : "bridge cradle", run + 1, seconds, bytes,
                        hid ? "serial time" : "SPI bit time", rate, limit, 100 * limit / seconds);
            if (run == Runs - 1)
                PrintFigure(hid ? "programming run, HID cradle, beside its nominal serial time"
                                : "programming run, bridge cradle, beside its SPI bit time",
                            seconds, limit, "s");
        }
    }
    return 0;
}
