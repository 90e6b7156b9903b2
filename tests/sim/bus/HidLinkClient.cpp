#include "HidLinkClient.h"

#include <algorithm>

namespace simtest {

std::optional<Bytes> HidLinkClient::nextReport(std::chrono::steady_clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left <= 0ms) {
        return std::nullopt;
    }
    auto report = client_.receive(left);
    if (!report || report->size() != 9) {
        return std::nullopt;
    }
    lastStatus_ = (*report)[1];
    std::size_t count = std::min<std::size_t>(lastStatus_ & 0x07, 7);
    for (std::size_t i = 0; i < count; ++i) {
        if (auto message = reader_.feed((*report)[2 + i])) {
            messages_.push_back(*message);
        }
    }
    return report;
}

bool HidLinkClient::waitForPresence(bool present, std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (auto report = nextReport(deadline)) {
        if (((lastStatus_ & UnitPresent) != 0) == present) {
            return true;
        }
    }
    return false;
}

bool HidLinkClient::sendMessage(const Bytes& message, std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    Bytes frame = frameToUnit(message);
    std::size_t sent = 0;
    while (sent < frame.size()) {
        // Like the program: three reports with the flag before each output report.
        int emptyReports = 0;
        while (emptyReports < 3) {
            if (!nextReport(deadline)) {
                return false;
            }
            if (lastStatus_ & TransmitterEmpty) {
                ++emptyReports;
            }
        }
        std::size_t count = std::min<std::size_t>(7, frame.size() - sent);
        Bytes report(9, 0);
        report[1] = static_cast<std::uint8_t>(count);
        std::copy_n(frame.begin() + static_cast<std::ptrdiff_t>(sent), count, report.begin() + 2);
        if (!client_.send(report)) {
            return false;
        }
        sent += count;
    }
    return true;
}

std::optional<Bytes> HidLinkClient::receiveMessage(std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (messages_.empty()) {
        if (!nextReport(deadline)) {
            return std::nullopt;
        }
    }
    Bytes message = messages_.front();
    messages_.pop_front();
    return message;
}

} // namespace simtest
