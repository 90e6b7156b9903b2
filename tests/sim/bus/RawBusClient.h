#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "sim/bus/UniqueFd.h"

namespace simtest {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

// A client of the virtual HID bus written with plain sockets, as an
// independent client would be: connect to NAME.sock, send the open request,
// then exchange whole reports. Every wait is bounded.
class RawBusClient {
public:
    static constexpr std::uint8_t Shared = 0x01;
    static constexpr std::uint8_t Exclusive = 0x02;

    // Connects to the socket; throws when that fails.
    explicit RawBusClient(const std::filesystem::path& socket);

    // Sends `request` and returns the one-byte answer (nothing when the
    // server closed without one or did not answer in time).
    std::optional<std::uint8_t> open(std::uint8_t request);
    // Sends one message as it is; false when the send failed.
    bool send(const Bytes& message);
    // The next message, or nothing on end of file, error or time-out.
    std::optional<Bytes> receive(std::chrono::milliseconds timeout = 2000ms);
    // Receives until `predicate` holds for a message; returns it, or nothing.
    template <typename Predicate>
    std::optional<Bytes> receiveUntil(Predicate predicate,
                                      std::chrono::milliseconds timeout = 5000ms)
    {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            auto message = receive(std::max(left, 1ms));
            if (!message) {
                return std::nullopt;
            }
            if (predicate(*message)) {
                return message;
            }
        }
        return std::nullopt;
    }
    // True when the server closed the connection within the time-out
    // (pending messages are read and dropped on the way).
    bool waitForEndOfFile(std::chrono::milliseconds timeout = 2000ms);

private:
    sim::UniqueFd fd_;
};

} // namespace simtest
