// Measures the control program's SPI poll through vexalib against the
// simulator's bridge chip with USB full-speed timing and real-time SPI
// clocking: wall time and report round trips of one Vexa_xferSpiData of 32
// bytes at 4000 bit/s, beside the SPI bit time of those bytes (the floor),
// and which poll sizes still finish within the transfer's 200 rounds.
#include "ReportCountingProxy.h"

#include "sim/program/Simulator.h"

#include <protocol/CradleIdentifiers.h>
#include <vexalib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "FigureLine.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t pollRate = 4000;
constexpr uint32_t pollSize = 32;
constexpr uint32_t keepChipSelect = 0x10000000; // the program's poll mask
constexpr int measuredPolls = 20;

std::filesystem::path makeTemporaryDirectory(const char* tag)
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string("vexalib-bench-") + tag + "-XXXXXX"))
            .string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return pattern;
}

// Opens the bridge and sets it up as the control program does.
VexaHandle connectLikeTheProgram()
{
    const VexaHandle handle =
        Vexa_OpenByIndex(qzr::CradleVendorId, qzr::BridgeCradleProductId, 0, nullptr, nullptr);
    if (Vexa_GetLastError() != VEXA_OK) {
        std::fprintf(stderr, "open failed: %d\n", Vexa_GetLastError());
        std::exit(1);
    }
    uint8_t tx = 0, rx = 0;
    uint32_t rate = pollRate, size = 1, idle = 0x1FF, active = 0x1EF, d1 = 0, d2 = 0, d3 = 20;
    uint8_t mode = 0;
    const int32_t result = Vexa_xferSpiDataEx(handle, &tx, &rx, &rate, &size, 0x10, &idle, &active,
                                              &d1, &d2, &d3, &mode);
    if (result != VEXA_OK) {
        std::fprintf(stderr, "set-up failed: %d\n", result);
        std::exit(1);
    }
    return handle;
}

struct Poll {
    int32_t result;
    double milliseconds;
};

Poll poll(VexaHandle handle, uint32_t size)
{
    std::vector<uint8_t> tx(size, 0xA5);
    std::vector<uint8_t> rx(size);
    uint32_t rate = pollRate;
    uint32_t wanted = size;
    const auto start = Clock::now();
    const int32_t result =
        Vexa_xferSpiData(handle, tx.data(), rx.data(), &rate, &wanted, keepChipSelect);
    const std::chrono::duration<double, std::milli> took = Clock::now() - start;
    return {result, took.count()};
}

void printTimes(const char* label, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const double mean = std::accumulate(times.begin(), times.end(), 0.0) / times.size();
    std::printf("%-34s mean %6.1f ms  median %6.1f ms  min %6.1f ms  max %6.1f ms\n", label, mean,
                times[times.size() / 2], times.front(), times.back());
}

} // namespace

int main()
{
    const auto simulatorBus = makeTemporaryDirectory("sim");
    const auto proxyBus = makeTemporaryDirectory("proxy");
    {
        sim::Simulator simulator(simulatorBus); // USB frames of 1 ms, SPI clocked in real time
        simulator.addBridgeCradle("bridge");

        // Wall time, straight to the simulator.
        ::setenv("VHID_BUS", simulatorBus.c_str(), 1);
        VexaHandle handle = connectLikeTheProgram();
        poll(handle, pollSize);
        std::vector<double> direct;
        for (int i = 0; i < measuredPolls; ++i) {
            const Poll measured = poll(handle, pollSize);
            if (measured.result != VEXA_OK) {
                std::fprintf(stderr, "poll failed: %d\n", measured.result);
                return 1;
            }
            direct.push_back(measured.milliseconds);
        }
        Vexa_Close(handle);

        // Round trips, through a counting proxy.
        std::vector<double> proxied;
        std::vector<std::size_t> roundTrips;
        {
            ReportCountingProxy proxy(proxyBus, "bridge", simulatorBus / "bridge.dev",
                                      simulatorBus / "bridge.sock");
            ::setenv("VHID_BUS", proxyBus.c_str(), 1);
            handle = connectLikeTheProgram();
            for (int i = 0; i < measuredPolls; ++i) {
                const std::size_t before = proxy.outputReports();
                const Poll measured = poll(handle, pollSize);
                roundTrips.push_back(proxy.outputReports() - before);
                proxied.push_back(measured.milliseconds);
            }
            Vexa_Close(handle);
        }

        // How long a poll may be before its 200 rounds run out.
        ::setenv("VHID_BUS", simulatorBus.c_str(), 1);
        handle = connectLikeTheProgram();
        std::printf("vexalib: one Vexa_xferSpiData poll at %u bit/s, USB frames of 1 ms\n\n",
                    pollRate);
        std::printf("SPI bit time of %u bytes (floor)     %6.1f ms\n", pollSize,
                    pollSize * 8 * 1000.0 / pollRate);
        printTimes("wall time, direct", direct);
        std::vector<double> sortedDirect = direct;
        std::sort(sortedDirect.begin(), sortedDirect.end());
        qzr::bench::PrintFigure("bridge poll of 32 bytes at 4000 bit/s, wall time (median)",
                                sortedDirect[sortedDirect.size() / 2],
                                pollSize * 8 * 1000.0 / pollRate, "ms");
        printTimes("wall time, through counting proxy", proxied);
        std::sort(roundTrips.begin(), roundTrips.end());
        std::printf("report round trips per poll         min %zu  median %zu  max %zu\n\n",
                    roundTrips.front(), roundTrips[roundTrips.size() / 2], roundTrips.back());
        std::printf("poll size  result  wall time\n");
        for (const uint32_t size : {32u, 64u, 128u, 160u, 192u, 256u}) {
            const Poll measured = poll(handle, size);
            std::printf("%9u  %6d  %7.1f ms\n", size, measured.result, measured.milliseconds);
        }
        Vexa_Close(handle);
        ::unsetenv("VHID_BUS");
    }
    std::filesystem::remove_all(simulatorBus);
    std::filesystem::remove_all(proxyBus);
    return 0;
}
