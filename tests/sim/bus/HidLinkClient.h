#pragma once

#include <deque>
#include <functional>
#include <optional>

#include "RawBusClient.h"
#include "UnitFrames.h"

namespace simtest {

// Talks to a unit through a HID cradle the way a careful program would:
// 8-byte reports, output only after three reports with the transmitter-empty
// flag, link bytes collected into the unit's frames. Works over the bus (a
// RawBusClient) or directly on a cradle model (functions that tick it).
// Every wait is bounded by a number of input reports.
class HidLinkClient {
public:
    static constexpr std::uint8_t TransmitterEmpty = 0x40;
    static constexpr std::uint8_t UnitPresent = 0x80;
    static constexpr int DefaultReportLimit = 20000;

    // The next input report (report ID + 8 bytes); nothing when none comes.
    using ReportSource = std::function<std::optional<Bytes>()>;
    // Sends one output report; false when that failed.
    using ReportSink = std::function<bool(const Bytes&)>;

    HidLinkClient(ReportSource source, ReportSink sink)
        : source_(std::move(source)), sink_(std::move(sink))
    {}
    // Over an open bus connection.
    explicit HidLinkClient(RawBusClient& client)
        : HidLinkClient([&client] { return client.receive(); },
                        [&client](const Bytes& report) { return client.send(report); })
    {}

    // Reads reports until one shows the unit present (or absent).
    bool waitForPresence(bool present, int reportLimit = DefaultReportLimit);
    // Sends the message framed, at most 7 bytes per output report.
    bool sendMessage(const Bytes& message, int reportLimit = DefaultReportLimit);
    // The next complete message from the unit.
    std::optional<Bytes> receiveMessage(int reportLimit = DefaultReportLimit);
    // Byte 0 of the last input report seen.
    std::uint8_t lastStatus() const { return lastStatus_; }

private:
    bool nextReport();

    ReportSource source_;
    ReportSink sink_;
    UnitFrameReader reader_;
    std::deque<Bytes> messages_;
    std::uint8_t lastStatus_ = 0;
};

} // namespace simtest
