#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <string>
#include <thread>

// A device on a virtual HID bus that forwards everything to a device on
// another bus and counts the reports going each way, so that a measurement
// can tell how many report round trips a library call made.
class ReportCountingProxy {
public:
    // Serves NAME.dev / NAME.sock in `bus`, forwarding to `target` (a
    // NAME.sock of another bus) whose descriptor is `descriptor`.
    ReportCountingProxy(const std::filesystem::path& bus, const std::string& name,
                        const std::filesystem::path& descriptor,
                        const std::filesystem::path& target);
    ~ReportCountingProxy();
    ReportCountingProxy(const ReportCountingProxy&) = delete;
    ReportCountingProxy& operator=(const ReportCountingProxy&) = delete;

    std::size_t outputReports() const { return outputReports_.load(); }
    std::size_t inputReports() const { return inputReports_.load(); }

private:
    void serve();
    void forward(int client);

    std::filesystem::path devPath_;
    std::filesystem::path sockPath_;
    std::filesystem::path target_;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    std::atomic<std::size_t> outputReports_{0};
    std::atomic<std::size_t> inputReports_{0};
    std::thread thread_;
};
