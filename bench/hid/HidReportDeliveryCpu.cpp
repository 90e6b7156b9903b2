// Measures the CPU time this process spends per input report that travels from a simulated HID
// cradle on a virtual HID bus to a data port's handler on the GUI thread, with the cradle sending
// a report every millisecond. The simulator runs in a child process, so that only the HID
// layer's own work (reader thread, hand-off, GUI thread) is counted.
//
// Usage: bench_hid_report_delivery [seconds]   (default 5)

#include "hid/HidDataPort.h"
#include "hid/HidDevice.h"
#include "hid/HidDevices.h"
#include "hid/platform/vhid/VirtualBusPlatform.h"
#include "sim/program/Simulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr double GoalMicrosecondsPerReport = 20.0;
constexpr int WarmUpMilliseconds = 500;

double GuiThreadCpuMicroseconds()
{
    timespec time{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return time.tv_sec * 1e6 + time.tv_nsec / 1e3;
}

struct ProcessUsage {
    double CpuMicroseconds;
    long ContextSwitches;
};

ProcessUsage ProcessUsageNow()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto micros = [](const timeval& t) { return t.tv_sec * 1e6 + t.tv_usec; };
    return {micros(usage.ru_utime) + micros(usage.ru_stime), usage.ru_nvcsw + usage.ru_nivcsw};
}

// Serves one HID cradle on the bus until the parent closes the pipe.
[[noreturn]] void RunSimulator(const std::string& BusDirectory, int ReadyPipe, int StopPipe)
{
    {
        sim::Simulator simulator(BusDirectory);
        simulator.addHidCradle("cradle");
        const char ready = 1;
        [[maybe_unused]] auto written = ::write(ReadyPipe, &ready, 1);
        char ignored = 0;
        while (::read(StopPipe, &ignored, 1) > 0) {
        }
    }
    std::_Exit(0);
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    char busTemplate[] = "/tmp/qzr-hid-bench-XXXXXX";
    if (::mkdtemp(busTemplate) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string busDirectory = busTemplate;

    int ready[2];
    int stop[2];
    if (::pipe(ready) != 0 || ::pipe(stop) != 0) {
        std::perror("pipe");
        return 1;
    }
    const pid_t simulator = ::fork();
    if (simulator == 0) {
        ::close(ready[0]);
        ::close(stop[1]);
        RunSimulator(busDirectory, ready[1], stop[0]);
    }
    ::close(ready[1]);
    ::close(stop[0]);
    char started = 0;
    if (::read(ready[0], &started, 1) != 1) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 1;
    }

    QCoreApplication application(argc, argv);
    qzr::THidDevices devices(
        nullptr, std::make_shared<qzr::VirtualBusPlatform>(QString::fromStdString(busDirectory)));
    devices.Loaded();
    qzr::THidDevice device;
    device.SetHidDevices(&devices);
    qzr::THidDataPort port;
    port.SetHidDevice(&device);
    long long reports = 0;
    std::uint8_t lastFlags = 0;
    port.OnHidData = [&](QObject*) {
        ++reports;
        lastFlags = port.AsByte(0);
    };
    device.Connect(1);

    long long reportsAtStart = 0;
    ProcessUsage atStart{};
    double guiCpuAtStart = 0;
    QElapsedTimer wallClock;
    QTimer::singleShot(WarmUpMilliseconds, [&] {
        reportsAtStart = reports;
        atStart = ProcessUsageNow();
        guiCpuAtStart = GuiThreadCpuMicroseconds();
        wallClock.start();
        QTimer::singleShot(seconds * 1000, &application, &QCoreApplication::quit);
    });
    application.exec();

    const ProcessUsage atEnd = ProcessUsageNow();
    const double cpu = atEnd.CpuMicroseconds - atStart.CpuMicroseconds;
    const double guiCpu = GuiThreadCpuMicroseconds() - guiCpuAtStart;
    const double elapsed = double(wallClock.nsecsElapsed()) / 1e9;
    const long long delivered = reports - reportsAtStart;
    device.Disconnect();

    ::close(stop[1]);
    ::waitpid(simulator, nullptr, 0);
    std::filesystem::remove_all(busDirectory);

    if (delivered == 0) {
        std::fprintf(stderr, "no reports were delivered\n");
        return 1;
    }
    const double perReport = cpu / double(delivered);
    std::printf("reports delivered:        %lld in %.2f s (%.0f per second)\n", delivered, elapsed,
                double(delivered) / elapsed);
    std::printf("process CPU time:         %.1f ms (%.1f %% of one core)\n", cpu / 1000.0,
                cpu / 1e4 / elapsed);
    std::printf("  of which GUI thread:    %.2f us, reader thread: %.2f us\n",
                guiCpu / double(delivered), (cpu - guiCpu) / double(delivered));
    std::printf("context switches/report:  %.2f\n",
                double(atEnd.ContextSwitches - atStart.ContextSwitches) / double(delivered));
    std::printf("CPU time per report:      %.2f us (goal: at most %.0f us) %s\n", perReport,
                GoalMicrosecondsPerReport,
                perReport <= GoalMicrosecondsPerReport ? "met" : "MISSED");
    std::printf("last report's first byte: 0x%02X\n", lastFlags);
    return 0;
}
