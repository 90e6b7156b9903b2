#include "HidLinkClient.h"

#include <algorithm>

namespace simtest {

bool HidLinkClient::nextReport()
{
    auto report = source_();
    if (!report || report->size() != 9) {
        return false;
    }
    lastStatus_ = (*report)[1];
    std::size_t count = lastStatus_ & 0x07;
    for (std::size_t i = 0; i < count; ++i) {
        if (auto message = reader_.feed((*report)[2 + i])) {
            messages_.push_back(*message);
        }
    }
    return true;
}

bool HidLinkClient::waitForPresence(bool present, int reportLimit)
{
    for (int i = 0; i < reportLimit && nextReport(); ++i) {
        if (((lastStatus_ & UnitPresent) != 0) == present) {
            return true;
        }
    }
    return false;
}

bool HidLinkClient::sendMessage(const Bytes& message, int reportLimit)
{
    Bytes frame = frameToUnit(message);
    std::size_t sent = 0;
    int reports = 0;
    while (sent < frame.size()) {
        int emptyReports = 0;
        while (emptyReports < 3) {
            if (++reports > reportLimit || !nextReport()) {
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
        if (!sink_(report)) {
            return false;
        }
        sent += count;
    }
    return true;
}

std::optional<Bytes> HidLinkClient::receiveMessage(int reportLimit)
{
    for (int i = 0; messages_.empty(); ++i) {
        if (i >= reportLimit || !nextReport()) {
            return std::nullopt;
        }
    }
    Bytes message = messages_.front();
    messages_.pop_front();
    return message;
}

} // namespace simtest
