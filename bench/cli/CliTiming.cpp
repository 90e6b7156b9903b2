// Measures qzr-cli from process start to exit against qzr-sim's demonstration
// cradles (USB and serial timing as the real cradles have it): scan, and info
// through each cradle kind, beside an empty QCoreApplication process, the
// floor that starting a Qt command-line program sets on this machine.

#include <bench/FigureLine.h>
#include <bench/app/DemoRig.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Milliseconds from start to exit, the median of `runs` fresh processes.
double MedianRunMs(const qzr::bench::TDemoRig& rig, const char* program,
                   const QStringList& arguments, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        process.setProgram(qzr::bench::TDemoRig::ProgramPath(program));
        process.setArguments(arguments);
        process.setProcessEnvironment(rig.ClientEnvironment());
        process.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        process.start();
        if (!process.waitForFinished(30000) || process.exitCode() != 0)
            qzr::bench::TDemoRig::Fail("a measured run failed");
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
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
    const double empty = MedianRunMs(rig, "qzr-empty-core-app", {}, runs);
    const double scan = MedianRunMs(rig, "qzr-cli", {"scan"}, runs);
    const double hidInfo = MedianRunMs(rig, "qzr-cli", {"-d", "hid1", "info"}, runs);
    const double bridgeInfo = MedianRunMs(rig, "qzr-cli", {"-d", "bridge1", "info"}, runs);
    std::printf("qzr-cli from process start to exit, median of %d runs:\n", runs);
    std::printf("  empty QCoreApplication     %7.1f ms (the floor)\n", empty);
    std::printf("  scan, two cradles          %7.1f ms\n", scan);
    std::printf("  info through the HID cradle %6.1f ms\n", hidInfo);
    std::printf("  info through the bridge     %6.1f ms\n", bridgeInfo);
    qzr::bench::PrintFigure("qzr-cli scan, two cradles, start to exit, beside an empty program",
                            scan, empty, "ms");
    qzr::bench::PrintFigure("qzr-cli info through the HID cradle, beside an empty program", hidInfo,
                            empty, "ms");
    qzr::bench::PrintFigure("qzr-cli info through the bridge, beside an empty program", bridgeInfo,
                            empty, "ms");
    return 0;
}
