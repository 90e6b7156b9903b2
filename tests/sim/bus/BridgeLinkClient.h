#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "RawBusClient.h"
#include "UnitFrames.h"

namespace simtest {

// Drives a bridge cradle over the bus with the chip's command reports, as a
// host library would: SPI settings (0x40/0x41), chunked transfers (0x42)
// with polling, and the unit's frames on top. Every wait is bounded.
class BridgeLinkClient {
public:
    static constexpr std::uint8_t FillByte = 0xA5;
    static constexpr std::size_t PollSize = 32;

    // `client` must be open.
    explicit BridgeLinkClient(RawBusClient& client) : client_(client) {}

    // One command (zero-filled to 64 bytes) and its 64-byte response.
    std::optional<Bytes> command(const Bytes& bytes, std::chrono::milliseconds timeout = 2000ms);
    // Sets bit rate and transaction size with pin 4 as the unit's select.
    bool setSpiSettings(std::uint32_t bitRate, std::uint16_t transactionSize);
    // One whole transaction: sends `tx`, returns the bytes clocked back.
    std::optional<Bytes> transfer(const Bytes& tx);

    // Sends the message framed, filled up with 0xA5 to at least PollSize.
    bool sendMessage(const Bytes& message);
    // Polls until a complete message from the unit has arrived.
    std::optional<Bytes> receiveMessage(int pollLimit = 200);
    // The bytes of the last transfer.
    const Bytes& lastReceived() const { return lastReceived_; }

private:
    bool transact(Bytes tx);

    RawBusClient& client_;
    UnitFrameReader reader_;
    std::deque<Bytes> messages_;
    Bytes lastReceived_;
    std::uint16_t transactionSize_ = 0;
};

} // namespace simtest
