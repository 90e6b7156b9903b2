// Measures how late the GUI thread's event loop runs a 1 ms timer while a
// bridge cradle is polled (each poll is one blocking library call), beside
// the same with no cradle at all: the 99th percentile and the maximum of the
// delay past the timer's due time.
//
// Usage: bench_cradle_event_loop_lateness [seconds]   (default 5 per phase)
#include "FigureLine.h"
#include "OperationsRig.h"

#include <algorithm>
#include <vector>

namespace {

using namespace qzr;
using namespace qzr::bench;

struct TLateness {
    double Percentile99;
    double Maximum;
};

// Re-arms a 1 ms single-shot timer for `seconds` and collects how much later
// than due each one ran, in milliseconds.
TLateness MeasureLateness(int seconds)
{
    std::vector<double> delays;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    timer.setInterval(1);
    QElapsedTimer armed;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        delays.push_back(std::max(0.0, double(armed.nsecsElapsed()) / 1e6 - 1.0));
        armed.start();
        timer.start();
    });
    armed.start();
    timer.start();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    timer.stop();
    if (delays.empty())
        Fail("the timer never ran");
    std::sort(delays.begin(), delays.end());
    return {delays[std::min(delays.size() - 1, delays.size() * 99 / 100)], delays.back()};
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    TSimulatorProcess simulator;
    QCoreApplication application(argc, argv);
    const TLateness idle = MeasureLateness(seconds);
    TBenchCradle bridge(TCradleKind::Bridge, simulator.Bus());
    bridge.WaitForSession();
    const TLateness polled = MeasureLateness(seconds);
    std::printf("lateness of a 1 ms timer, %d s each    99th percentile   maximum\n", seconds);
    std::printf("  no cradle                             %7.2f ms      %7.2f ms\n",
                idle.Percentile99, idle.Maximum);
    std::printf("  a bridge cradle polled                %7.2f ms      %7.2f ms\n",
                polled.Percentile99, polled.Maximum);
    PrintFigure("event loop lateness, 1 ms timer, bridge polled, 99th percentile",
                polled.Percentile99, idle.Percentile99, "ms");
    PrintFigure("event loop lateness, 1 ms timer, bridge polled, maximum", polled.Maximum,
                idle.Maximum, "ms");
    return 0;
}
