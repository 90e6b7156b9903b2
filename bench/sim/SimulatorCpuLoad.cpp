// Measures the CPU time the simulator spends serving HID cradles at the
// 1 ms report rate, each with a unit and one client reading every report.
// The clients run in a child process, so the figure is the simulator's own.
//
// usage: bench_sim_cpu_load [SECONDS] [CRADLES]   (defaults 5 and 8)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "sim/program/Simulator.h"

#include "FigureLine.h"

namespace {

using namespace std::chrono_literals;

std::string cradleName(int index)
{
    return "cradle" + std::to_string(index + 1);
}

int openDevice(const std::filesystem::path& socket)
{
    int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
    for (int attempt = 0; attempt < 2000; ++attempt) {
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            std::uint8_t request = 0x01;
            std::uint8_t answer = 0xFF;
            if (::send(fd, &request, 1, 0) == 1 && ::recv(fd, &answer, 1, 0) == 1 && answer == 0) {
                return fd;
            }
            break;
        }
        std::this_thread::sleep_for(5ms);
    }
    ::close(fd);
    return -1;
}

// The child: one reading client per cradle, until the simulator unplugs them;
// reports how many reports per second each read while they came.
[[noreturn]] void runClients(const std::filesystem::path& bus, int cradles, int resultPipe)
{
    std::vector<pollfd> fds;
    for (int i = 0; i < cradles; ++i) {
        int fd = openDevice(bus / (cradleName(i) + ".sock"));
        if (fd < 0) {
            std::_Exit(1);
        }
        fds.push_back({fd, POLLIN, 0});
    }
    double reports = 0;
    std::uint8_t buffer[64];
    auto first = std::chrono::steady_clock::now();
    auto last = first;
    int open = cradles;
    while (open > 0 && ::poll(fds.data(), fds.size(), 30000) > 0) {
        for (auto& entry : fds) {
            if (!(entry.revents & (POLLIN | POLLHUP))) {
                continue;
            }
            if (::recv(entry.fd, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
                last = std::chrono::steady_clock::now();
                reports += 1;
            } else {
                entry.fd = -1;
                --open;
            }
        }
    }
    double rate = reports / cradles / std::chrono::duration<double>(last - first).count();
    [[maybe_unused]] auto written = ::write(resultPipe, &rate, sizeof rate);
    std::_Exit(0);
}

double seconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double cpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char** argv)
{
    const auto measured = std::chrono::seconds(argc > 1 ? std::atoi(argv[1]) : 5);
    const int cradles = argc > 2 ? std::atoi(argv[2]) : 8;
    char pattern[] = "/tmp/qzr-sim-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path bus = pattern;
    int result[2];
    if (::pipe(result) != 0) {
        std::perror("pipe");
        return 1;
    }
    // The child starts before the simulator's thread exists.
    pid_t child = ::fork();
    if (child == 0) {
        runClients(bus, cradles, result[1]);
    }

    double cpu = 0.0;
    double wall = 0.0;
    {
        sim::Simulator simulator(bus);
        for (int i = 0; i < cradles; ++i) {
            simulator.addHidCradle(cradleName(i));
            simulator.placeUnit(cradleName(i),
                                sim::UnitSpec::demo(0x00A1B200 + static_cast<unsigned>(i)));
        }
        auto allOpen = [&] {
            for (const auto& cradle : simulator.cradles()) {
                if (cradle.openConnections == 0) {
                    return false;
                }
            }
            return true;
        };
        for (int wait = 0; wait < 400 && !allOpen(); ++wait) {
            std::this_thread::sleep_for(5ms);
        }
        std::this_thread::sleep_for(500ms); // settle
        double cpuBefore = cpuSeconds();
        auto wallBefore = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(measured);
        cpu = cpuSeconds() - cpuBefore;
        wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    double rate = 0;
    [[maybe_unused]] auto read = ::read(result[0], &rate, sizeof rate);
    std::filesystem::remove_all(bus);

    std::printf("cradles: %d at a 1 ms report interval, one reading client each\n", cradles);
    std::printf("simulator CPU: %.3f s in %.3f s wall = %.1f %% of one core\n", cpu, wall,
                100.0 * cpu / wall);
    std::printf("reports read per client: %.0f per second\n", rate);
    char what[80];
    std::snprintf(what, sizeof what, "simulator serving %d HID cradles at 1 ms reports, CPU",
                  cradles);
    qzr::bench::PrintFigure(what, 100.0 * cpu / wall, -1, "% of a core", "figure<=10");
    return 0;
}
