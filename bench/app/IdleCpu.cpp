// Measures the CPU that QZR uses while it holds two idle sessions: a HID
// cradle sending 1000 input reports per second and a bridge cradle polled
// over SPI, each with a unit that has nothing to do. Goal: at most 5 % of one
// core for both together.

#include "DemoRig.h"
#include "FigureLine.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int settleSeconds = 5;
    const int measureSeconds = argc > 1 ? std::atoi(argv[1]) : 20;

    qzr::bench::TDemoRig rig;
    QProcess program;
    program.setProgram(qzr::bench::TDemoRig::ProgramPath("QZR"));
    program.setProcessEnvironment(rig.ClientEnvironment());
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(QProcess::nullDevice());
    program.start();
    if (!program.waitForStarted())
        qzr::bench::TDemoRig::Fail("cannot start QZR");

    // Detection, handshake and setup read happen in the first second.
    QThread::sleep(settleSeconds);
    const double programBefore = qzr::bench::CpuSeconds(program.processId());
    const double simulatorBefore = qzr::bench::CpuSeconds(rig.SimulatorPid());
    QThread::sleep(measureSeconds);
    const double programCpu = qzr::bench::CpuSeconds(program.processId()) - programBefore;
    const double simulatorCpu = qzr::bench::CpuSeconds(rig.SimulatorPid()) - simulatorBefore;

    std::printf("QZR, HID cradle at 1000 reports/s + bridge cradle polled, idle units, %d s:\n",
                measureSeconds);
    std::printf("  QZR        %5.2f %% of one core (goal: at most 5 %%)\n",
                100.0 * programCpu / measureSeconds);
    std::printf("  simulator  %5.2f %% of one core (for reference)\n",
                100.0 * simulatorCpu / measureSeconds);
    qzr::bench::PrintFigure("QZR, HID cradle at 1000 reports/s + polled bridge, idle units, CPU",
                            100.0 * programCpu / measureSeconds, -1, "% of a core", "figure<=5");

    program.terminate();
    program.waitForFinished(5000);
    return 0;
}
