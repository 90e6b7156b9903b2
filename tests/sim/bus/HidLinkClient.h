#pragma once

#include <chrono>
#include <deque>
#include <optional>

#include "RawBusClient.h"
#include "UnitFrames.h"

namespace simtest {

// Talks to a unit through a HID cradle on the bus the way a careful program
// would: 8-byte reports, output only after the cradle reports its
// transmitter empty, link bytes collected into the unit's frames.
class HidLinkClient {
public:
    static constexpr std::uint8_t TransmitterEmpty = 0x40;
    static constexpr std::uint8_t UnitPresent = 0x80;

    // `client` must be open.
    explicit HidLinkClient(RawBusClient& client) : client_(client) {}

    // Reads reports until one shows the unit present (or absent).
    bool waitForPresence(bool present, std::chrono::milliseconds timeout = 5000ms);
    // Sends the message framed, at most 7 bytes per output report.
    bool sendMessage(const Bytes& message, std::chrono::milliseconds timeout = 5000ms);
    // The next complete message from the unit.
    std::optional<Bytes> receiveMessage(std::chrono::milliseconds timeout = 5000ms);
    // Byte 0 of the last input report seen.
    std::uint8_t lastStatus() const { return lastStatus_; }

private:
    std::optional<Bytes> nextReport(std::chrono::steady_clock::time_point deadline);

    RawBusClient& client_;
    UnitFrameReader reader_;
    std::deque<Bytes> messages_;
    std::uint8_t lastStatus_ = 0;
};

} // namespace simtest
