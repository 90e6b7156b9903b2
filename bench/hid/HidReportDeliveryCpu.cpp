// Measures the CPU time this process spends per input report that travels from a simulated HID
// cradle on a virtual HID bus to a data port's handler on the GUI thread, with the cradle sending
// a report every millisecond. The simulator runs in a child process, so that only the HID
// layer's own work (reader thread, hand-off, GUI thread) is counted.
//
// Its floor, measured in the same run against the same cradle: a bare reader thread that reads
// the reports through the same platform handle and hands each one to a second thread through an
// eventfd, which runs an empty handler and marks the report taken.
//
// Usage: bench_hid_report_delivery [seconds]   (default 5)

#include "hid/HidDataPort.h"
#include "hid/HidDevice.h"
#include "hid/HidDevices.h"
#include "hid/platform/HidWakeSignal.h"
#include "hid/platform/vhid/VirtualBusPlatform.h"
#include "sim/program/Simulator.h"

#include "FigureLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <thread>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

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

// CPU time per report of the bare hand-off: this thread plays the GUI thread, blocked on an
// eventfd that the reader raises for every report it reads.
double BareHandOffMicrosecondsPerReport(qzr::HidPlatform& platform, const QString& devicePath,
                                        int seconds)
{
    const auto handle = platform.OpenShared(devicePath);
    const int ready = ::eventfd(0, EFD_CLOEXEC);
    if (!handle || ready < 0) {
        std::fprintf(stderr, "cannot open the cradle for the bare hand-off\n");
        std::exit(1);
    }
    const qzr::HidWakeSignal stop;
    std::atomic<bool> taken{true};
    std::atomic<long long> delivered{0};
    qzr::THidReport report{};
    std::thread reader([&] {
        while (handle->WaitForInput(stop)) {
            while (!taken.load(std::memory_order_acquire))
                std::this_thread::yield();
            if (handle->Read(report) != qzr::HidReadOutcome::Report)
                continue;
            taken.store(false, std::memory_order_release);
            const std::uint64_t one = 1;
            [[maybe_unused]] const auto written = ::write(ready, &one, sizeof one);
        }
        const std::uint64_t last = 1;
        [[maybe_unused]] const auto written = ::write(ready, &last, sizeof last);
    });
    const auto takeUntil = [&](double endMicroseconds) {
        QElapsedTimer clock;
        clock.start();
        while (double(clock.nsecsElapsed()) / 1e3 < endMicroseconds) {
            std::uint64_t count = 0;
            if (::read(ready, &count, sizeof count) != sizeof count)
                break;
            ++delivered;
            taken.store(true, std::memory_order_release);
        }
    };
    takeUntil(WarmUpMilliseconds * 1e3);
    const long long atStart = delivered;
    const ProcessUsage before = ProcessUsageNow();
    takeUntil(seconds * 1e6);
    const ProcessUsage after = ProcessUsageNow();
    const long long counted = delivered - atStart;
    std::printf("bare hand-off:            %lld reports, %.2f context switches/report\n", counted,
                double(after.ContextSwitches - before.ContextSwitches) / double(counted));
    stop.Raise();
    reader.join();
    ::close(ready);
    if (counted == 0) {
        std::fprintf(stderr, "the bare hand-off saw no reports\n");
        std::exit(1);
    }
    return (after.CpuMicroseconds - before.CpuMicroseconds) / double(counted);
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
    const auto platform =
        std::make_shared<qzr::VirtualBusPlatform>(QString::fromStdString(busDirectory));
    qzr::THidDevices devices(nullptr, platform);
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
    const double floor =
        BareHandOffMicrosecondsPerReport(*platform, devices.GetDevicePath(1), seconds);

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
    std::printf("CPU time per report:      %.2f us\n", perReport);
    std::printf("bare eventfd hand-off:    %.2f us per report (the floor)\n", floor);
    std::printf("last report's first byte: 0x%02X\n", lastFlags);
    qzr::bench::PrintFigure("HID input report, bus to handler on the GUI thread, CPU at 1000/s",
                            perReport, floor, "us/report", "ratio<=1.3");
    return 0;
}
