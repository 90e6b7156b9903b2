#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// The unit's side of the receiving link: rebuilds frames sent by the program
// (DLE STX, stuffed message, XOR checksum seeded 0xA5, DLE ETX). Frames that
// fail a check are dropped; a DLE STX inside a frame starts a new frame.
namespace sim {

class UnitFrameReceiver {
public:
    enum class Result { Pending, Accepted, Rejected };

    // Feeds one byte. On Accepted, message() holds the message bytes (without
    // the checksum) until the next call.
    Result receiveByte(std::uint8_t byte);
    std::span<const std::uint8_t> message() const;

    // Room for the longest message the unit understands plus its checksum.
    static constexpr std::size_t BufferSize = 64;

private:
    enum class State { WaitDle, WaitStx, Data, DataDle, Discard, DiscardDle };

    Result finishFrame();
    void store(std::uint8_t byte, Result& result);

    State state_ = State::WaitDle;
    std::array<std::uint8_t, BufferSize> buffer_{};
    std::size_t count_ = 0;
    std::size_t messageLength_ = 0;
};

} // namespace sim
