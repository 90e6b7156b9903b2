// Measures the time from starting the program to its main window on screen,
// with two cradles (HID and bridge, each with a unit) attached, beside the
// same time for an empty Qt Widgets main window: the floor that the toolkit
// sets on this machine.

#include "DemoRig.h"
#include "FigureLine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Milliseconds from start to "shown", the median of `runs` fresh processes.
double MedianStartMs(const qzr::bench::TDemoRig& rig, const char* mode, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess probe;
        probe.setProgram(qzr::bench::TDemoRig::ProgramPath("qzr-startup-probe"));
        probe.setArguments({QString::fromLatin1(mode)});
        probe.setProcessEnvironment(rig.ClientEnvironment());
        probe.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        probe.start();
        while (!probe.canReadLine()) {
            if (!probe.waitForReadyRead(10000))
                qzr::bench::TDemoRig::Fail("the probe did not show its window");
        }
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        probe.waitForFinished(10000);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 9;
    qzr::bench::TDemoRig rig;
    const double empty = MedianStartMs(rig, "empty", runs);
    const double program = MedianStartMs(rig, "qzr", runs);
    std::printf("start to main window shown, median of %d runs:\n", runs);
    std::printf("  empty Qt Widgets program   %7.1f ms (the floor)\n", empty);
    std::printf("  QZR with two cradles       %7.1f ms\n", program);
    qzr::bench::PrintFigure("start to main window shown, two cradles, beside an empty Qt program",
                            program, empty, "ms", "ratio<=1.5");
    return 0;
}
